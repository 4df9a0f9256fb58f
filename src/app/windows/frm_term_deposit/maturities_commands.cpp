#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include "app/widgets/maturities_model.h"
#include "app/widgets/register_grid.h"
#include "app/widgets/ruled_text_box.h"
#include "app/windows/frm_maturities.h"
#include "app/windows/frm_term_deposit_details.h"
#include "app/windows/window_placement.h"
#include "commands/maturities.h"
#include "commands/maturity_reminder.h"
#include "platform/preferences.h"

#include <QCheckBox>
#include <QRadioButton>

namespace td {

frmMaturities* frmTermDeposit::maturitiesWindow() const { return m_maturities.data(); }

void frmTermDeposit::Maturities()
{
    if (!m_maturities) {
        auto model = std::make_unique<MaturitiesModel>(m_register, m_platform.clock, m_platform.dateForm,
                                                       m_platform.progress,
                                                       loadPreferences().taxShareHundredthsOfPercent);
        {
            BusyScope busy(m_platform.pointer);
            if (!model->countAll())
                return;  // cancelled: no window
        }
        m_maturities = new frmMaturities(
            m_register, m_platform, std::move(model), [this] { EditTermDeposit(); },
            [this] { RollOverTermDeposit(); }, this);
        m_maturities->setAttribute(Qt::WA_DeleteOnClose);
        // Its frame is not known before it shows; the main window's is the best guess.
        const QRect frame = frameGeometry();
        const QRect inner = geometry();
        const QSize outer =
            m_maturities->size() + QSize(frame.width() - inner.width(), frame.height() - inner.height());
        m_maturities->move(besideMainWindow(frame, outer, m_platform.screen.sizePixels()));
    }
    m_maturities->show();
    m_maturities->raise();
    m_maturities->activateWindow();
}

void frmTermDeposit::remindOfDueDeposits()
{
    const int days = loadPreferences().reminderDays;
    const maturities::DueDeposits due =
        maturities::dueWithin(m_register, m_platform.dateForm, m_platform.clock.today(), days);
    if (due.count == 0)
        return;
    m_platform.notifications.post(maturities::reminderOf(due, m_register, m_platform.dateForm),
                                  [window = QPointer<frmTermDeposit>(this)] {
                                      if (window)
                                          window->Maturities();
                                  });
}

void frmTermDeposit::RollOverTermDeposit()
{
    const int row = m_register.row();
    if (row <= 0 || row >= m_register.rows() - 1)
        return;
    const DepositRecord next = maturities::rolledOver(m_register.record(row));
    frmTermDepositDetails details(m_platform, m_history, this);
    details.markRollOver();
    details.txtAccountNumber()->setText(next[AccountNumber]);
    // A switch that was on for the old term is on again, before its box takes the old value.
    if (next[SaveEachMonth] != QLatin1String("0"))
        details.ckSaveMonthOnOff()->click();
    details.txtSaveEachMonth()->setText(next[SaveEachMonth]);
    details.txtInterest()->setText(next[Interest]);
    details.txtTermYears()->setText(next[Years]);
    if (next[Months] != QLatin1String("0"))
        details.ckMonthsOnOff()->click();
    details.txtTermMonths()->setText(next[Months]);
    details.setStartDateText(next[StartDate]);
    details.txtAccountBalance()->setText(next[AccountBalance]);
    details.OptYes()->setChecked(true);
    details.txtInterest()->setFocus();
    m_platform.modal.runModal(details);
}

}  // namespace td
