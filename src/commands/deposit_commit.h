#pragma once

#include "core/deposit_record.h"
#include "core/register.h"
#include "platform/platform.h"

namespace td {

enum class CommitOutcome {
    ValueMissing,       // message shown, nothing to write
    OverwriteDeclined,  // the user kept the existing deposit, nothing to write
    Add,                // a new deposit, for the spare row
    Overwrite,          // for the first row with the same account number
};

struct DepositCommit {
    CommitOutcome outcome;
    DepositRecord deposit;  // the texts to write, trimmed
    int row = -1;           // the row an Overwrite writes over
};

// Decides how the deposit that the details dialog shows goes into the
// register: every box must hold a value; a row with the same account number
// (trimmed, letter case significant, first from the top) is overwritten only
// after the user agrees; otherwise the deposit fills the spare row and a new
// spare row follows. The caller writes the row and leaves the current cell
// on it, column 9. While the overwrite question is up, and when the user
// keeps the existing deposit, the current cell rests on the matching row,
// column 0. The row is found by a scan of the register's records; the
// current cell moves only to where it is left.
//
// `shown` holds the dialog's texts in column order as the dialog shows them
// (the start date as its date text, Active as "Yes" or "No").
DepositCommit decideCommit(const DepositRecord& shown, Register& reg, MessageBoxes& messages);

}  // namespace td
