#pragma once

#include "platform/platform.h"

#include <QString>

namespace td {

// The message of a file that could not be read or written, the same for a
// deposit file and an export: what happened (to the file on disk too) on the
// first line, then the file's full path and the system's reason.
void showFileError(MessageBoxes& messages, const QString& failure, const QString& path,
                   const QString& reason);

}  // namespace td
