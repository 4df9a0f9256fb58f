#pragma once

class QHeaderView;

namespace td {

// Makes the header's sort arrow point the way its rows run: up over rows
// that ascend, down over rows that descend, as the Descending box beside
// such a grid says. (QHeaderView hands the style SortDown for an ascending
// order, and Fusion on Linux draws that as a downward arrow.)
void drawSortArrowAsRowsRun(QHeaderView& header);

}  // namespace td
