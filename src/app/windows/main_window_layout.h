#pragma once

#include <QSize>

namespace td {

// The grid's size after the main window was resized, in twips, computed in
// single precision: width = outer width - 800 (never negative); height =
// outer height - 2200 when the grid's top (1200) plus 1800 is less than the
// outer height, else the grid keeps its height.
inline QSize gridSizeAfterResize(QSize outerTwips, QSize gridTwips)
{
    constexpr float kGridTop = 1200.0f;
    const float width = static_cast<float>(outerTwips.width()) - 800.0f;
    QSize result(width > 0.0f ? static_cast<int>(width) : 0, gridTwips.height());
    if (kGridTop + 1800.0f < static_cast<float>(outerTwips.height()))
        result.setHeight(static_cast<int>(static_cast<float>(outerTwips.height()) - 2200.0f));
    return result;
}

}  // namespace td
