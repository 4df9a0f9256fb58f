#pragma once

#include <QString>

namespace td {

// The printed listing of the register: each deposit is a block of one empty
// line in a small font and nine label lines, columns Account Number to Future
// Value. The Active column decides only which deposits a print-all run takes.
namespace listing {

inline constexpr double kGapFontSize = 10;
inline constexpr double kLineFontSize = 12;
inline constexpr int kPrintedColumns = 9;  // columns 0 to 8; Active is not printed
inline constexpr int kBlocksPerPage = 2;

// Ten spaces, the column's label and the cell text, nothing after.
QString blockLine(int column, const QString& cellText);

// Whether a print-all run prints a deposit with this Active text: exactly
// "Yes" when printing the active ones, exactly "No" when printing the others.
bool passesActiveFilter(const QString& activeText, bool printActive);

}  // namespace listing
}  // namespace td
