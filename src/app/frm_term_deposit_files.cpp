#include "frm_term_deposit.h"

#include <QCloseEvent>

// File commands and the save prompts: not built yet, so they do nothing.
namespace td {

bool frmTermDeposit::SaveFirst() { return true; }
bool frmTermDeposit::PrepareSaveFile() { return false; }
bool frmTermDeposit::SaveRegisterFile() { return false; }
void frmTermDeposit::fileNew() {}
void frmTermDeposit::fileOpen() {}
void frmTermDeposit::fileSave() {}
void frmTermDeposit::fileSaveAs() {}
void frmTermDeposit::fileExit() {}

void frmTermDeposit::closeEvent(QCloseEvent* event) { event->accept(); }

}  // namespace td
