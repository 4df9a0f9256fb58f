#pragma once

#include <QString>

namespace td {

// The extension test of the File commands: the last three characters, in any
// letter case, are "tmd", so "budgetTMD" passes as well as "budget.tmd".
bool isDepositFileName(const QString& name);

}  // namespace td
