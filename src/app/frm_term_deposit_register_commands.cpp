#include "frm_term_deposit.h"

// New, Edit and Delete: not built yet, so they do nothing.
namespace td {

void frmTermDeposit::NewTermDeposit() {}
void frmTermDeposit::EditTermDeposit() {}
void frmTermDeposit::DeleteTermDeposit() {}

}  // namespace td
