#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include "app/windows/frm_term_deposit_details.h"
#include "commands/deposit_fields.h"
#include "commands/selection.h"

#include <optional>

namespace td {

void frmTermDeposit::NewTermDeposit()
{
    if (m_platform.pointer.isBusy())
        return;
    frmTermDepositDetails details(m_platform, m_history, this);
    m_platform.modal.runModal(details);
}

// Fills the dialog from the current row in column order, so that each
// derived display is written after the boxes whose changes recompute it and
// the dialog opens showing the stored term date and future value. The
// switches keep the state the dialog opened with.
void frmTermDeposit::EditTermDeposit()
{
    frmTermDepositDetails details(m_platform, m_history, this);
    std::optional<QString> unreadableStartDate;
    if (!m_register.text().isEmpty() && m_register.row() > 0) {
        for (const DepositField& field : kDepositFields) {
            m_register.setCol(field.column);
            const QString text = m_register.text();
            // A file written under another date form can hold a start date
            // that is no date here. Today's date stays, and the user is told,
            // rather than a later Add storing today's date unnoticed.
            if (!details.showText(field, text))
                unreadableStartDate = text;
        }
    }
    if (unreadableStartDate) {
        m_platform.messages.ask(
            tr("Quendarith Information Technology Term Deposit Details"),
            tr("The start date \"%1\" of this Term Deposit cannot be read as a date, so today's date "
               "is shown in its place. Set the right start date before you add the Term Deposit.")
                .arg(*unreadableStartDate),
            MessageIcon::Information, MessageButtons::Ok);
    }
    m_platform.modal.runModal(details);
}

void frmTermDeposit::DeleteTermDeposit()
{
    if (!requireSelectedDeposit(SelectingCommand::Delete, m_register, m_platform.pointer.isBusy(),
                                m_platform.messages))
        return;
    if (m_platform.messages.ask(tr("Delete"), tr("Delete the existing Term Deposit?"), MessageIcon::Question,
                                MessageButtons::YesNo) != MessageButton::Yes)
        return;
    // The current cell stays on the same index, now the row that moved up.
    m_history.deleteDeposit(m_register.row());
}

void frmTermDeposit::UndoChange() { m_history.stack().undo(); }

void frmTermDeposit::RedoChange() { m_history.stack().redo(); }

}  // namespace td
