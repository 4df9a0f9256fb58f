#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include "app/widgets/interest_by_year_model.h"
#include "app/windows/frm_interest_by_year.h"
#include "app/windows/window_placement.h"
#include "platform/preferences.h"

// Term Deposit > Interest by Year: the window beside the main window, one at a time.
namespace td {

frmInterestByYear* frmTermDeposit::interestByYearWindow() const { return m_interestByYear.data(); }

void frmTermDeposit::InterestByYear()
{
    if (!m_interestByYear) {
        auto model = std::make_unique<InterestByYearModel>(m_register, m_platform, loadPreferences());
        if (!model->countAll())
            return;  // cancelled: no window
        m_interestByYear = new frmInterestByYear(m_platform, std::move(model), this);
        m_interestByYear->setAttribute(Qt::WA_DeleteOnClose);
        placeBesideMainWindow(*m_interestByYear, *this, m_platform.screen.sizePixels());
    }
    m_interestByYear->show();
    m_interestByYear->raise();
    m_interestByYear->activateWindow();
}

}  // namespace td
