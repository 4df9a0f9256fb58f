#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include "app/windows/frm_print.h"
#include "commands/print_listing.h"
#include "commands/selection.h"

// File > Print: the selected deposit, or every active or inactive deposit,
// printed as blocks of label lines, two blocks to a page.
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
                         [this](bool all, bool active) { previewListing(all, active); });
        m_platform.modal.runModal(options);
    }
    // The close box leaves the flag False from the load: the command goes on.
    if (m_flags.PrintCancelledFlag)
        return;
    if (!m_platform.printer.choosePrinter())
        return;

    m_printJobOpen = false;
    m_printPageBreakPending = false;
    Printer& printer = m_platform.printer;
    bool printed = false;
    QString reason;
    {
        // Ending the job is inside: that is when the pages go to the printer.
        BusyScope busy(m_platform.pointer);
        printed = m_flags.PrintAllFlag ? printAll(m_flags.PrintActiveFlag) : PrintRegister();
        // A run in which nothing matched opened no job and has nothing to end.
        if (m_printJobOpen) {
            if (printed) {
                printed = printer.endJob();
            } else {
                // A listing that stops part-way is dropped, not half sent.
                reason = printer.errorString();
                printer.abortJob();
            }
            m_printJobOpen = false;
        }
        if (!printed && reason.isEmpty())
            reason = printer.errorString();
    }
    if (!printed) {
        m_platform.messages.ask(printTitle(), tr("The Term Deposit listing was not printed.\n%1").arg(reason),
                                MessageIcon::Information, MessageButtons::Ok);
    }
}

// The listing the print options choose, shown in a preview: the same lines
// and pages as a print, on no printer. The register's current cell is where
// it was, so a Print after the preview prints what it would have printed.
void frmTermDeposit::previewListing(bool all, bool printActive)
{
    const int row = m_register.row();
    const int col = m_register.col();
    m_printJobOpen = false;
    m_printPageBreakPending = false;
    Printer& printer = m_platform.printer;
    bool spooled = false;
    {
        BusyScope busy(m_platform.pointer);
        spooled = all ? printAll(printActive) : PrintRegister();
    }
    m_register.setCurrentCell(row, col);
    const bool opened = m_printJobOpen;
    m_printJobOpen = false;
    if (!opened && spooled) {
        m_platform.messages.ask(printTitle(),
                                tr("No Term Deposit matches the print options: there is nothing to preview."),
                                MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    QString reason;
    if (!spooled) {
        reason = printer.errorString();
        if (opened)
            printer.abortJob();
    } else if (!printer.previewJob()) {
        reason = printer.errorString();
    } else {
        return;
    }
    m_platform.messages.ask(printTitle(),
                            tr("The Term Deposit listing could not be previewed.\n%1").arg(reason),
                            MessageIcon::Information, MessageButtons::Ok);
}

bool frmTermDeposit::printAll(bool printActive)
{
    int blocksOnPage = 0;
    m_register.setRow(0);
    while (m_register.row() < m_register.rows() - 2) {
        m_register.setRow(m_register.row() + 1);
        m_register.setCol(Active);
        if (!listing::passesActiveFilter(m_register.text(), printActive))
            continue;
        if (!PrintRegister())
            return false;
        if (++blocksOnPage == listing::kBlocksPerPage) {
            m_printPageBreakPending = true;
            blocksOnPage = 0;
        }
    }
    return true;
}

bool frmTermDeposit::startPrintedBlock()
{
    Printer& printer = m_platform.printer;
    if (!m_printJobOpen) {
        if (!printer.beginJob())
            return false;
        m_printJobOpen = true;
        m_printPageBreakPending = false;
    }
    if (m_printPageBreakPending) {
        m_printPageBreakPending = false;
        if (!printer.newPage())
            return false;
    }
    return true;
}

bool frmTermDeposit::PrintRegister()
{
    if (!startPrintedBlock())
        return false;
    Printer& printer = m_platform.printer;
    printer.setFontSize(listing::kGapFontSize);
    if (!printer.printLine(QString()))
        return false;
    printer.setFontSize(listing::kLineFontSize);
    for (int c = 0; c < listing::kPrintedColumns; ++c) {
        m_register.setCol(c);
        if (!printer.printLine(listing::blockLine(c, m_register.text())))
            return false;
    }
    return true;
}

}  // namespace td
