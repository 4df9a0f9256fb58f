#include "exact_save_check.h"

#include "core/deposit_file_format.h"
#include "core/register.h"

namespace td {

InexactDeposits findInexactDeposits(const Register& reg, int firstFew)
{
    // A row kept as a record reads back as it stands; only rows kept as texts can differ.
    InexactDeposits found;
    if (reg.everyRowHeldAsRecord())
        return found;
    char record[deposit_file::kRecordSize];
    for (int r = 1; r <= reg.depositCount(); ++r) {
        if (reg.heldAsRecord(r))
            continue;
        bool counted = false;
        for (int c = 0; c < ColumnCount; ++c) {
            if (deposit_file::encodeField(reg.cell(r, c), record, c))
                continue;
            if (!counted) {
                counted = true;
                ++found.depositCount;
            }
            if (found.depositCount <= firstFew)
                found.cells.push_back({r, c});
        }
    }
    return found;
}

}  // namespace td
