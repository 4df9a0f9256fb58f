#pragma once

#include <QString>
#include <QtGlobal>

namespace td {

// Removes what saves of path left beside the file when they were interrupted
// between writing and renaming, and only what this program can tell it made:
// a regular file under one of its own temporary names (own_files.h), with no
// other name, owned by this user, holding whole 100-byte records, and last
// written before olderThanNs (nanoseconds since the epoch; a save running now
// writes its own temporary file after that moment). Returns how many went.
int removeSaveLeftovers(const QString& path, qint64 olderThanNs);

}  // namespace td
