#pragma once

#include <QString>

namespace td {

// A rename is only durable once the folder that holds the name is synced. The
// new file is already in place when this runs, so a folder that cannot be
// synced (some file systems refuse) changes nothing for the caller.
void syncFolder(const QString& folder);

}  // namespace td
