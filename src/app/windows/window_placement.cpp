#include "app/windows/window_placement.h"

#include <QWidget>
#include <algorithm>

namespace td {

QPoint besideMainWindow(const QRect& main, const QSize& window, const QSize& screen)
{
    const int rightRoom = screen.width() - (main.right() + 1);
    const int leftRoom = main.left();
    int x = 0;
    if (rightRoom >= window.width())
        x = main.right() + 1;
    else if (leftRoom >= window.width())
        x = main.left() - window.width();
    else if (rightRoom >= leftRoom)
        x = screen.width() - window.width();
    const int y = std::min(main.top(), screen.height() - window.height());
    return QPoint(std::max(0, x), std::max(0, y));
}

void placeBesideMainWindow(QWidget& window, const QWidget& main, const QSize& screen)
{
    const QRect frame = main.frameGeometry();
    const QRect inner = main.geometry();
    const QSize outer = window.size() + QSize(frame.width() - inner.width(), frame.height() - inner.height());
    window.move(besideMainWindow(frame, outer, screen));
}

}  // namespace td
