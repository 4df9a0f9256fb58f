#include "safe_replace.h"

#include "io_reason.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace td {

namespace {

// A rename is only durable once the folder that holds the name is synced. The
// new file is already in place when this runs, so a folder that cannot be
// synced (some file systems refuse) changes nothing for the caller.
void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool replaceFileSafely(const QString& path, const std::function<bool(QIODevice&, QString& error)>& write,
                       QString& error)
{
    // Past the process's file size limit the system sends SIGXFSZ, which ends
    // the program with the work unsaved; ignored, the write fails with
    // "File too large" and is reported like any other failure.
#ifdef SIGXFSZ
    static const bool fileSizeSignalIgnored = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
    Q_UNUSED(fileSizeSignalIgnored);
#endif
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
