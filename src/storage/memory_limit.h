#pragma once

#include <QtGlobal>

namespace td {

// Bytes this process can still take for data: the memory the system reports
// available (swap included) and the room left under the process's address
// space and data limits, whichever is least. Without a way to ask, no limit.
qint64 memoryAvailableForData();

}  // namespace td
