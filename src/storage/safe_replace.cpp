#include "safe_replace.h"

#include "folder_sync.h"
#include "io_reason.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace td {

bool replaceFileSafely(const QString& path, const std::function<bool(QIODevice&, QString& error)>& write,
                       QString& error)
{
    error.clear();
    QSaveFile file(path);
    // Unbuffered: a write that the disk takes only in part comes back short,
    // and the next one reports why (a buffered flush loses the reason).
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = ioReason(file);
        return false;
    }
    // QSaveFile::commit() can report success when its last buffered bytes did
    // not fit on the disk (QTBUG-75077), so every byte is written, flushed and
    // checked before the old file is replaced.
    if (!write(file, error)) {
        if (error.isEmpty())
            error = ioReason(file);
        file.cancelWriting();
        return false;
    }
    if (!file.flush()) {
        error = ioReason(file);
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = ioReason(file);
        return false;
    }
    syncFolder(QFileInfo(path).absolutePath());
    return true;
}

}  // namespace td
