#pragma once

#include <QString>
#include <functional>

class QIODevice;

namespace td {

// Writes a file whole or not at all: the bytes go to a temporary file beside
// path, which takes the place of path only when every byte is on disk, and the
// folder is synced so the new name lasts. `write` puts the contents on the
// device and returns false (with its reason in `error`) when it cannot; a
// failure anywhere leaves the old file as it was and `error` says why.
bool replaceFileSafely(const QString& path, const std::function<bool(QIODevice&, QString& error)>& write,
                       QString& error);

}  // namespace td
