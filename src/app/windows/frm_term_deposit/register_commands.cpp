#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include "app/widgets/ruled_text_box.h"
#include "app/windows/frm_term_deposit_details.h"

#include <QLabel>
#include <QRadioButton>
#include <algorithm>
#include <optional>

namespace td {

void frmTermDeposit::NewTermDeposit()
{
    if (m_platform.pointer.isBusy())
        return;
    frmTermDepositDetails details(m_platform, m_register, m_flags, this);
    m_platform.modal.runModal(details);
}

// Fills the dialog from the current row in column order, so that each
// derived display is written after the boxes whose changes recompute it and
// the dialog opens showing the stored term date and future value. The
// switches keep the state the dialog opened with.
void frmTermDeposit::EditTermDeposit()
{
    frmTermDepositDetails details(m_platform, m_register, m_flags, this);
    std::optional<QString> unreadableStartDate;
    if (!m_register.text().isEmpty() && m_register.row() > 0) {
        for (int c = 0; c < ColumnCount; ++c) {
            m_register.setCol(c);
            const QString text = m_register.text();
            switch (c) {
            case AccountNumber:
                details.txtAccountNumber()->setText(text);
                break;
            case SaveEachMonth:
                details.txtSaveEachMonth()->setText(text);
                break;
            case Interest:
                details.txtInterest()->setText(text);
                break;
            case Years:
                details.txtTermYears()->setText(text);
                break;
            case Months:
                details.txtTermMonths()->setText(text);
                break;
            case StartDate:
                // A file written under another date form can hold a text that
                // is no date here. Today's date stays, and the user is told,
                // rather than a later Add storing today's date unnoticed.
                if (!details.setStartDateText(text))
                    unreadableStartDate = text;
                break;
            case TermDate:
                details.lblTermDate()->setText(text);
                break;
            case AccountBalance:
                details.txtAccountBalance()->setText(text);
                break;
            case FutureValue:
                details.lblFutureValue()->setText(text);
                break;
            case Active:
                (text != QLatin1String("No") ? details.OptYes() : details.OptNo())->setChecked(true);
                break;
            default:
                break;
            }
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
    // The header row is no deposit, whatever its text; the spare row's cells are blank.
    const bool selected = m_register.currentCellHoldsText() && !m_platform.pointer.isBusy() &&
                          m_register.row() > 0 && m_register.row() < m_register.rows() - 1;
    if (!selected) {
        m_platform.messages.ask(QString(), tr("A Term Deposit must be selected from the grid to Delete."),
                                MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    if (m_platform.messages.ask(tr("Delete"), tr("Delete the existing Term Deposit?"), MessageIcon::Question,
                                MessageButtons::YesNo) != MessageButton::Yes)
        return;
    // The current cell stays on the same index, now the row that moved up.
    m_register.removeRow(m_register.row());
    m_flags.ModifiedFlag = true;
}

}  // namespace td
