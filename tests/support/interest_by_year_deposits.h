#pragma once

#include "support/main_window_world.h"

namespace td::test {

// Deposits whose years are worked out by hand: one from 1 July, one from
// 1 January with savings (its anniversary on 1 January), an inactive one,
// and an active one whose balance does not read.
//
// Calendar years, active: 2024 earns $51.01 + $140.71 and holds $1,051.01 +
// $3,240.71 at its end; 2025 earns $75.82 + $16.20, and $1,126.83 and
// $3,356.91 mature. The inactive deposit holds $500.00 at the ends of 2023
// and 2024 and matures in 2025.
inline QList<DepositRecord> interestByYearSamples()
{
    return {
        depositOf({"JULY", "0", "12", "1", "0", "01/07/2024", "01/07/2025", "$1,000.00", "$1,126.83", "Yes"}),
        depositOf({"JANUARY", "$100.00", "6", "1", "0", "01/01/2024", "01/01/2025", "$2,000.00", "$3,356.91",
                   "Yes"}),
        depositOf({"IDLE", "0", "0", "2", "0", "15/03/2023", "15/03/2025", "$500.00", "$500.00", "No"}),
        depositOf({"ODD", "0", "5", "1", "0", "01/01/2024", "01/01/2025", "lots", "$1.00", "Yes"}),
    };
}

}  // namespace td::test
