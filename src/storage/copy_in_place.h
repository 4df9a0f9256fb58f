#pragma once

#include "file_identity.h"

#include <QString>
#include <functional>

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
// before this returns. lastCheck runs once both files are open, just before
// anything of the target changes: a reason it gives stops the copy there.
InPlaceCopy copyInPlace(const QString& from, const QString& to,
                        const std::function<QString()>& lastCheck = {});

}  // namespace td
