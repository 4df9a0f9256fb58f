#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include "finance/amortisation.h"
#include "app/windows/frm_amortise.h"

#include <memory>

namespace td {

void frmTermDeposit::Amortise()
{
    const QString title = tr("Amortise Term Deposit");
    auto refuse = [&](const QString& text) {
        m_platform.messages.ask(title, text, MessageIcon::Information, MessageButtons::Ok);
    };

    if (m_platform.pointer.isBusy() || !m_register.currentCellHoldsText()) {
        refuse(tr("A Term Deposit must be selected from the grid to amortise."));
        return;
    }

    // The schedule knows whole years without monthly savings only; "0" is the
    // one text the details dialog writes for a box switched off.
    m_register.setCol(Months);
    const QString months = m_register.text();
    m_register.setCol(SaveEachMonth);
    const QString saveEachMonth = m_register.text();
    if (months != QLatin1String("0") || saveEachMonth != QLatin1String("0")) {
        refuse(tr("To Amortise the months and save each month value must be zero."));
        return;
    }

    // A register file can hold texts that the details dialog would never let through.
    const int row = m_register.row();
    if (!ComputeAmortisation(m_register.cell(row, Interest), m_register.cell(row, StartDate),
                             m_register.cell(row, TermDate), m_register.cell(row, AccountBalance),
                             m_platform.dateForm)) {
        refuse(tr("The interest, balance or dates of this Term Deposit cannot be read, so it cannot be "
                  "amortised."));
        return;
    }

    std::unique_ptr<frmAmortise> window;
    {
        BusyScope busy(m_platform.pointer);
        window = std::make_unique<frmAmortise>(m_register, m_platform, this);
    }
    m_platform.modal.runModal(*window);
}

}  // namespace td
