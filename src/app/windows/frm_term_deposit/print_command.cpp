#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include "app/windows/frm_print.h"
#include "commands/selection.h"

#include <algorithm>
#include <optional>

// File > Print: the selected deposit, or every active or inactive deposit,
// printed as blocks of label lines, two blocks to a page. The listing reads
// the register's cells where they are; the current cell moves once, to where
// the command leaves it.
namespace td {

namespace {
QString printTitle() { return frmTermDeposit::tr("Printing Term Deposit."); }
}  // namespace

void frmTermDeposit::filePrint()
{
    // Printing does not look at the busy pointer.
    if (!requireSelectedDeposit(SelectingCommand::Print, m_register, false, m_platform.messages))
        return;

    {
        frmPrint options(m_flags, m_platform.screen.sizePixels(), this,
                         [this](bool all, bool active) { return previewListing(all, active); });
        m_platform.modal.runModal(options);
    }
    // The close box leaves the flag False from the load: the command goes on.
    if (m_flags.PrintCancelledFlag)
        return;
    if (!m_platform.printer.choosePrinter())
        return;

    const int startRow = m_register.row();
    const int startCol = m_register.col();
    m_printJob.reset();
    Printer& printer = m_platform.printer;
    bool printed = false;
    bool cancelled = false;
    std::optional<listing::Run> run;
    QString reason;
    {
        // Ending the job is inside: that is when the pages go to the printer.
        BusyScope busy(m_platform.pointer);
        ProgressScope progress(m_platform.progress, tr("Printing the Term Deposit listing"));
        // Looking through the rows is the first half of the work, sending the pages the second.
        const qint64 half = std::max(1, m_register.depositCount());
        if (m_flags.PrintAllFlag) {
            run = listing::printAll(m_register, m_flags.PrintActiveFlag, m_printJob,
                                    [&](qint64 done, qint64) { return progress.advance(done, 2 * half); });
            cancelled = run->end == listing::RunEnd::Cancelled;
            printed = run->end == listing::RunEnd::Printed;
        } else {
            printed = PrintRegister();
        }
        // A run in which nothing matched opened no job and has nothing to end.
        if (m_printJob.isOpen()) {
            if (cancelled) {
                printer.abortJob();
            } else if (printed) {
                printed = printer.endJob([&](qint64 done, qint64 total) {
                    return progress.advance(half + (total > 0 ? done * half / total : 0), 2 * half);
                });
                cancelled = printer.cancelled();
            } else {
                // A listing that stops part-way is dropped, not half sent.
                reason = printer.errorString();
                printer.abortJob();
            }
            m_printJob.reset();
        }
        if (!printed && !cancelled && reason.isEmpty())
            reason = printer.errorString();
    }
    // A cancelled print is not a failure to tell about; nothing was sent.
    if (cancelled) {
        m_register.setCurrentCell(startRow, startCol);
        return;
    }
    if (run)
        m_register.setCurrentCell(run->row, run->col);
    if (!printed) {
        m_platform.messages.ask(printTitle(), tr("The Term Deposit listing was not printed.\n%1").arg(reason),
                                MessageIcon::Information, MessageButtons::Ok);
    }
}

// The listing the print options choose, shown in a preview: the same lines
// and pages as a print, on no printer, and of a long listing its first pages
// and the count of all. The register's current cell stays where it is, so a
// Print after the preview prints what it would have printed. True when the
// user asked the preview to print.
bool frmTermDeposit::previewListing(bool all, bool printActive)
{
    m_printJob.reset();
    Printer& printer = m_platform.printer;
    bool spooled = true;
    {
        BusyScope busy(m_platform.pointer);
        ProgressScope progress(m_platform.progress, tr("Preparing the preview of the Term Deposit listing"));
        if (!all) {
            spooled = m_printJob.printBlock(m_register, m_register.row());
        } else {
            const listing::PreviewRows rows =
                listing::previewRows(m_register, printActive, [&](qint64 done, qint64 total) {
                    return progress.advance(done, total);
                });
            if (rows.cancelled)
                return false;
            for (qsizetype i = 0; spooled && i < rows.shown.size(); ++i)
                spooled = m_printJob.printBlock(m_register, rows.shown[i]);
            if (spooled && !rows.lastPage.isEmpty()) {
                m_printJob.leaveOutPages(rows.pagesBetween);
                for (qsizetype i = 0; spooled && i < rows.lastPage.size(); ++i)
                    spooled = m_printJob.printBlock(m_register, rows.lastPage[i]);
            }
        }
    }
    const bool opened = m_printJob.isOpen();
    m_printJob.reset();
    if (!opened && spooled) {
        m_platform.messages.ask(printTitle(),
                                tr("No Term Deposit matches the print options: there is nothing to preview."),
                                MessageIcon::Information, MessageButtons::Ok);
        return false;
    }
    QString reason;
    if (!spooled) {
        reason = printer.errorString();
        if (opened)
            printer.abortJob();
    } else {
        switch (printer.previewJob()) {
        case PreviewEnd::Closed:
            return false;
        case PreviewEnd::Print:
            return true;
        case PreviewEnd::Failed:
            reason = printer.errorString();
            break;
        }
    }
    m_platform.messages.ask(printTitle(),
                            tr("The Term Deposit listing could not be previewed.\n%1").arg(reason),
                            MessageIcon::Information, MessageButtons::Ok);
    return false;
}

bool frmTermDeposit::PrintRegister()
{
    const bool printed = m_printJob.printBlock(m_register, m_register.row());
    if (m_printJob.column() >= 0)
        m_register.setCol(m_printJob.column());
    return printed;
}

}  // namespace td
