#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include "app/windows/frm_about.h"
#include "app/windows/frm_search.h"

namespace td {

void frmTermDeposit::Search()
{
    if (m_platform.pointer.isBusy())
        return;
    frmSearch search(*this);
    m_platform.modal.runModal(search);
}

void frmTermDeposit::About()
{
    frmAbout about(m_platform, this);
    m_platform.modal.runModal(about);
}

}  // namespace td
