#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include "app/windows/frm_preferences.h"

// File > Preferences: the user's choices that are no part of a register.
namespace td {

void frmTermDeposit::EditPreferences()
{
    frmPreferences preferences(m_platform.messages, this);
    m_platform.modal.runModal(preferences);
}

}  // namespace td
