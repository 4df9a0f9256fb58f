#pragma once

#include "core/deposit_record.h"
#include "core/mod_lease.h"
#include "core/register.h"
#include "platform/platform.h"

namespace td {

enum class CommitOutcome {
    ValueMissing,       // message shown, nothing written
    OverwriteDeclined,  // the user kept the existing deposit, nothing written
    Added,              // written into the former spare row
    Overwritten,        // written over the first row with the same account number
};

// Writes the deposit that the details dialog shows into the register: every
// box must hold a value; a row with the same account number (trimmed, letter
// case significant, first from the top) is overwritten only after the user
// agrees; otherwise the deposit fills the spare row and a new spare row
// follows. The texts are trimmed and written into the row, and the current
// cell is left on the written row, column 9 (on the matching row, column 0,
// when the user keeps the existing deposit). The row is found by a scan of
// the register's records; the current cell moves only to where it is left.
//
// `shown` holds the dialog's texts in column order as the dialog shows them
// (the start date as its date text, Active as "Yes" or "No").
CommitOutcome commitDeposit(const DepositRecord& shown, Register& reg, ModLease& flags,
                            MessageBoxes& messages);

}  // namespace td
