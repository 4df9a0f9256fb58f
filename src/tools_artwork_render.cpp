// Draws the main window's pictures for the program's resources, each with
// the texts it shows kept in its PNG:
//   td_artwork_render <folder>  ->  <folder>/logo.png, <folder>/new-up.png, ...
#include "app/widgets/artwork.h"

#include <QDir>
#include <QGuiApplication>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral(".")))
        return 1;
    for (const td::BuiltPicture& picture : td::drawBuiltPictures()) {
        if (!picture.image.save(folder.filePath(picture.fileName), "PNG"))
            return 1;
    }
    return 0;
}
