#include "commands/print_listing.h"

#include "core/register.h"

#include <QCoreApplication>
#include <array>

namespace td::listing {

namespace {

// The labels keep their own spacing: most end in four spaces, three in five.
constexpr std::array<const char*, kPrintedColumns> kLabels{{
    QT_TRANSLATE_NOOP("PrintListing", "Account Number    "),
    QT_TRANSLATE_NOOP("PrintListing", "Saving Each Month    "),
    QT_TRANSLATE_NOOP("PrintListing", "Interest    "),
    QT_TRANSLATE_NOOP("PrintListing", "Years    "),
    QT_TRANSLATE_NOOP("PrintListing", "Months    "),
    QT_TRANSLATE_NOOP("PrintListing", "Start Date     "),
    QT_TRANSLATE_NOOP("PrintListing", "Term Date     "),
    QT_TRANSLATE_NOOP("PrintListing", "Account Balance     "),
    QT_TRANSLATE_NOOP("PrintListing", "Future Value    "),
}};

const QString kIndent(10, QLatin1Char(' '));

bool passes(const Register& reg, int row, bool printActive)
{
    return passesActiveFilter(reg.cell(row, Active), printActive);
}

}  // namespace

QString blockLine(int column, const QString& cellText)
{
    return kIndent + QCoreApplication::translate("PrintListing", kLabels.at(column)) + cellText;
}

bool passesActiveFilter(const QString& activeText, bool printActive)
{
    return printActive ? activeText == QLatin1String("Yes") : activeText == QLatin1String("No");
}

void Job::reset()
{
    m_open = false;
    m_breakPending = false;
    m_blocksOnPage = 0;
    m_column = -1;
}

bool Job::startBlock()
{
    if (!m_open) {
        if (!m_printer.beginJob())
            return false;
        m_open = true;
    }
    if (m_breakPending) {
        m_breakPending = false;
        if (!m_printer.newPage())
            return false;
    }
    return true;
}

bool Job::printBlock(const Register& reg, int row)
{
    m_column = -1;
    if (!startBlock())
        return false;
    m_printer.setFontSize(kGapFontSize);
    if (!m_printer.printLine(QString()))
        return false;
    m_printer.setFontSize(kLineFontSize);
    for (int c = 0; c < kPrintedColumns; ++c) {
        m_column = c;
        if (!m_printer.printLine(blockLine(c, reg.cell(row, c))))
            return false;
    }
    if (++m_blocksOnPage == kBlocksPerPage) {
        m_breakPending = true;
        m_blocksOnPage = 0;
    }
    return true;
}

void Job::leaveOutPages(qint64 count)
{
    m_printer.leaveOutPages(count);
    m_breakPending = true;
    m_blocksOnPage = 0;
}

Run printAll(const Register& reg, bool printActive, Job& job, const JobProgress& progress)
{
    const int last = reg.rows() - 2;
    if (last < 1)
        return {RunEnd::Printed, 0, reg.col()};
    bool lastPrinted = false;
    for (int row = 1; row <= last; ++row) {
        if (row % kRowsPerReport == 0 && progress && !progress(row, last))
            return {RunEnd::Cancelled, reg.row(), reg.col()};
        lastPrinted = passes(reg, row, printActive);
        if (lastPrinted && !job.printBlock(reg, row))
            return {RunEnd::Failed, row, job.column() >= 0 ? job.column() : int(Active)};
    }
    return {RunEnd::Printed, last, lastPrinted ? kPrintedColumns - 1 : int(Active)};
}

PreviewRows previewRows(const Register& reg, bool printActive, const JobProgress& progress)
{
    constexpr int kShownAtMost = (kPreviewPages + 1) * kBlocksPerPage;
    PreviewRows rows;
    std::array<int, kBlocksPerPage> latest{};  // the last rows found, by block number
    const int last = reg.rows() - 2;
    for (int row = 1; row <= last; ++row) {
        if (row % kRowsPerReport == 0 && progress && !progress(row, last)) {
            rows.cancelled = true;
            return rows;
        }
        if (!passes(reg, row, printActive))
            continue;
        if (rows.shown.size() < kShownAtMost)
            rows.shown.append(row);
        latest[rows.blocks % kBlocksPerPage] = row;
        ++rows.blocks;
    }
    const qint64 pages = (rows.blocks + kBlocksPerPage - 1) / kBlocksPerPage;
    if (pages <= kPreviewPages + 1)
        return rows;
    rows.shown.resize(kPreviewPages * kBlocksPerPage);
    rows.pagesBetween = pages - kPreviewPages - 1;
    const qint64 firstOfLastPage = (pages - 1) * kBlocksPerPage;
    for (qint64 block = firstOfLastPage; block < rows.blocks; ++block)
        rows.lastPage.append(latest[block % kBlocksPerPage]);
    return rows;
}

}  // namespace td::listing
