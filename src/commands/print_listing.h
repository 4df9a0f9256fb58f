#pragma once

#include "platform/platform.h"

#include <QList>
#include <QString>

namespace td {

class Register;

// The printed listing of the register: each deposit is a block of one empty
// line in a small font and nine label lines, columns Account Number to Future
// Value. The Active column decides only which deposits a print-all run takes.
// The cells are read straight from the register: printing moves no current
// cell, so no view follows it row by row; the command sets the cell the
// listing leaves once, at its end.
namespace listing {

inline constexpr double kGapFontSize = 10;
inline constexpr double kLineFontSize = 12;
inline constexpr int kPrintedColumns = 9;  // columns 0 to 8; Active is not printed
inline constexpr int kBlocksPerPage = 2;
// A preview of a longer listing shows its first pages and counts the rest.
inline constexpr int kPreviewPages = 50;

// Ten spaces, the column's label and the cell text, nothing after.
QString blockLine(int column, const QString& cellText);

// Whether a print-all run prints a deposit with this Active text: exactly
// "Yes" when printing the active ones, exactly "No" when printing the others.
bool passesActiveFilter(const QString& activeText, bool printActive);

// One print job of a Print command: opened by its first block, two blocks a
// page, a new page started only when another block follows.
class Job {
public:
    explicit Job(Printer& printer) : m_printer(printer) {}

    // Forgets the job of an earlier command (the printer has ended or dropped it).
    void reset();
    // Prints the block of a register row; false when the printer failed.
    bool printBlock(const Register& reg, int row);
    // See Printer::leaveOutPages; the page before ends first.
    void leaveOutPages(qint64 count);
    bool isOpen() const { return m_open; }
    // The column of the last label line printed or tried (-1: none yet):
    // where the current cell would have been left.
    int column() const { return m_column; }

private:
    bool startBlock();

    Printer& m_printer;
    bool m_open = false;
    bool m_breakPending = false;
    int m_blocksOnPage = 0;
    int m_column = -1;
};

enum class RunEnd { Printed, Failed, Cancelled };

// Where a print-all run ends, and the current cell it leaves: the last
// deposit row, on Future Value when that row's block was printed last and on
// Active otherwise; after a failure, the row and column where the printer
// stopped. A cancelled run leaves the cell as it was.
struct Run {
    RunEnd end = RunEnd::Printed;
    int row = 0;
    int col = 0;
};

// The rows are looked at this many at a time between two reports of progress.
inline constexpr int kRowsPerReport = 1024;

// Prints, in register order, the block of every deposit row that passes the
// Active filter. progress hears how many deposit rows have been looked at.
Run printAll(const Register& reg, bool printActive, Job& job, const JobProgress& progress);

// What a preview of a print-all run shows: the rows of its first pages (all
// of them when the listing is at most one page longer), and for a longer
// listing the rows of its last page and how many pages lie between.
struct PreviewRows {
    QList<int> shown;
    QList<int> lastPage;
    qint64 pagesBetween = 0;
    qint64 blocks = 0;  // in the whole listing
    bool cancelled = false;
};
PreviewRows previewRows(const Register& reg, bool printActive, const JobProgress& progress);

}  // namespace listing
}  // namespace td
