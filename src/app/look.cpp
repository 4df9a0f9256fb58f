#include "look.h"

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
}

}  // namespace td
