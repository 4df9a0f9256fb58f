#include "frm_term_deposit.h"

// Search and About: not built yet, so they do nothing.
namespace td {

void frmTermDeposit::Search() {}
void frmTermDeposit::About() {}

}  // namespace td
