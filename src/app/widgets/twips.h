#pragma once

#include "core/columns.h"

#include <QRect>
#include <QSize>
#include <QWidget>

namespace td {

// Window positions are given in twips; 15 twips make one device-independent pixel.
inline QRect twips(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

inline void placeTwips(QWidget& widget, int left, int top, int width, int height)
{
    widget.setGeometry(twips(left, top, width, height));
}

// Secondary windows centre themselves on the screen when they load.
inline QPoint centredOnScreen(QSize screen, QSize window)
{
    return QPoint((screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2);
}

}  // namespace td
