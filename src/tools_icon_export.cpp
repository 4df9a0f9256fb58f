// Writes the program's icon as PNG files for the desktop's icon theme:
//   td_icon_export <folder>   ->  <folder>/<size>x<size>/apps/termdeposit.png
#include "app/widgets/artwork.h"

#include <QDir>
#include <QGuiApplication>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        if (!QDir().mkpath(folder) ||
            !td::saveProgramIconPng(folder + QStringLiteral("/termdeposit.png"), size))
            return 1;
    }
    return 0;
}
