#pragma once

#include <QString>

namespace td {

// The files this program makes for itself beside a file it writes (a save's
// temporary file, the complete copy kept while a hard-linked file is written
// in place) carry names no user would choose: hidden, the target's name, the
// program's marker and six random characters, ".deposits.tmd.tdsave-Ab3dE1".
// Only names of this form are ever taken for this program's own files.

// A QTemporaryFile template for such a file beside target (links not followed).
QString ownTemporaryTemplate(const QString& target);

// Whether fileName (a bare name, no folder) is one of this program's
// temporary files for a target named targetFileName.
bool isOwnTemporaryName(const QString& fileName, const QString& targetFileName);

}  // namespace td
