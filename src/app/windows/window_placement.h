#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace td {

// Where a window of the given outer size goes beside the main window's frame:
// on its right where the screen has room, else on its left; where neither
// side has room, against the edge of the roomier side, over the main window
// as little as the screen allows. Level with the main window's top, lifted
// as far as needed to end on the screen.
QPoint besideMainWindow(const QRect& main, const QSize& window, const QSize& screen);

// Moves a window not yet shown beside the main window. Its frame is not
// known before it shows; the main window's is the best guess.
void placeBesideMainWindow(QWidget& window, const QWidget& main, const QSize& screen);

}  // namespace td
