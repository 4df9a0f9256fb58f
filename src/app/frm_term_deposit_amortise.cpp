#include "frm_term_deposit.h"

// Amortise: not built yet, so it does nothing.
namespace td {

void frmTermDeposit::Amortise() {}

}  // namespace td
