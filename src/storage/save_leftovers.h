#pragma once

#include <QString>
#include <QtGlobal>

namespace td {

// The temporary files that a save of path leaves beside the file when it is
// interrupted between writing and renaming: the file's name, a dot and six
// random letters or digits. Names whose six characters read as a word in one
// case are taken for the user's own files (a few real leftovers among them).
bool isSaveLeftoverName(const QString& fileName, const QString& savedFileName);

// Removes the regular files of that pattern, with no other name, that were last written before
// olderThanNs (nanoseconds since the epoch); a save running now writes its own
// temporary file after that moment. Returns how many were removed.
int removeSaveLeftovers(const QString& path, qint64 olderThanNs);

}  // namespace td
