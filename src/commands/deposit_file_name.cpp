#include "commands/deposit_file_name.h"

namespace td {

bool isDepositFileName(const QString& name) { return name.right(3).toLower() == QLatin1String("tmd"); }

}  // namespace td
