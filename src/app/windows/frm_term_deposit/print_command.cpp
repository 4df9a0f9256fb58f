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
        frmPrint options(m_flags, m_platform.screen.sizePixels(), this);
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
        printed = m_flags.PrintAllFlag ? printAll() : PrintRegister();
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

bool frmTermDeposit::printAll()
{
    int blocksOnPage = 0;
    m_register.setRow(0);
    while (m_register.row() < m_register.rows() - 2) {
        m_register.setRow(m_register.row() + 1);
        m_register.setCol(Active);
        if (!listing::passesActiveFilter(m_register.text(), m_flags.PrintActiveFlag))
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
