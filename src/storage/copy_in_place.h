#pragma once

#include "file_identity.h"

#include <QString>

namespace td {

struct InPlaceCopy {
    bool done = false;
    bool targetTouched = false;  // failed after the first byte of the target changed
    QString reason;              // why it failed
    FileIdentity written;        // the target as written, settled
};

// Writes the contents of the file at from over the file at to, keeping to's
// inode: every hard link, its owner and its attributes stay. Room for the new
// size is reserved first, without the size changing, so a full disk stops the
// copy before the target changes; a failure before the first byte is written
// leaves the target as it was (targetTouched false). The target is synced
// before this returns.
InPlaceCopy copyInPlace(const QString& from, const QString& to);

}  // namespace td
