#pragma once

class QAccessibleInterface;

namespace td {

class RegisterGrid;

// How assistive technology reads the register grid: a table named like the
// grid whose children are the column headers, then the cells row by row.
// A cell reads the text it shows and lies where it is drawn (key cells stay
// at the left edge); a cell gives its column header, so a reader can say
// which column it is in. Cells are made only when asked for.
QAccessibleInterface* makeRegisterGridAccessible(RegisterGrid* grid);

// The child number of a cell among the table's children; row -1 is the header row.
int registerGridChild(int row, int column);

}  // namespace td
