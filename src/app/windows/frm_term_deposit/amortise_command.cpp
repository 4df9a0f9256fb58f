#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include "app/windows/frm_amortise.h"
#include "commands/amortise_check.h"

#include <memory>

namespace td {

void frmTermDeposit::Amortise()
{
    const auto schedule = amortisableSchedule(m_register, m_platform.pointer.isBusy(), m_platform.dateForm,
                                              m_platform.messages);
    if (!schedule)
        return;

    std::unique_ptr<frmAmortise> window;
    {
        BusyScope busy(m_platform.pointer);
        window = std::make_unique<frmAmortise>(m_register, *schedule, m_platform.screen.sizePixels(), this);
        window->offerScheduleOut(m_platform);
    }
    m_platform.modal.runModal(*window);
}

}  // namespace td
