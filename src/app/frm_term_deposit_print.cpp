#include "frm_term_deposit.h"

// Printing: not built yet, so it does nothing.
namespace td {

void frmTermDeposit::PrintRegister() {}

}  // namespace td
