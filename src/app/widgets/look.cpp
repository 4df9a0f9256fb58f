#include "app/widgets/look.h"

#include "app/widgets/artwork.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

namespace td {

void applyApplicationLook(QApplication& app)
{
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    app.setFont(font);
    // Every window carries the program's icon, the dialogs included.
    app.setWindowIcon(programIcon());
}

}  // namespace td
