#pragma once

#include "core/register.h"
#include "platform/platform.h"

namespace td {

// The commands that act on the deposit selected in the register.
enum class SelectingCommand { Delete, Amortise, Print };

// Whether the register's current cell selects a deposit for the command. All
// three need a deposit row and a current cell whose text, trimmed, is not
// empty, never on the spare row. Delete and Amortise also refuse while
// the program is busy; Delete and Print never take the header row, whose
// cells hold the column titles.
bool isDepositSelected(SelectingCommand command, const Register& reg, bool busy);

// The same test; when it fails, the command's own message is shown and false returned.
bool requireSelectedDeposit(SelectingCommand command, const Register& reg, bool busy, MessageBoxes& messages);

}  // namespace td
