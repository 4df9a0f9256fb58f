#include "safe_replace.h"

#include "folder_sync.h"
#include "io_reason.h"
#include "own_files.h"

#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace td {

namespace {

// The file that a name leads to through its symbolic links (even one that
// does not exist yet): that file is replaced, the links stay.
QString linkedFile(const QString& path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.filePath();
}

// The permission bits of the file replaced, or those a new file gets here:
// 0666 less the umask, read from the kernel's account of this process (setting
// the umask to learn it would race other threads creating files).
mode_t modeFor(const QString& target)
{
    struct stat st {};
    if (::stat(QFile::encodeName(target).constData(), &st) == 0)
        return st.st_mode & 0777;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
            bool ok = false;
            const uint mask = line.startsWith("Umask:") ? line.mid(6).trimmed().toUInt(&ok, 8) : 0;
            if (ok)
                return 0666 & ~mode_t(mask);
        }
    }
    return 0644;
}

}  // namespace

bool writeWhole(QIODevice& device, QByteArrayView bytes, QString& reason)
{
    const char* data = bytes.data();
    qsizetype size = bytes.size();
    while (size > 0) {
        const qint64 written = device.write(data, size);
        if (written <= 0) {
            reason = ioReason(device);
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

bool replaceFileSafely(const QString& path, const WriteStep& write, QString& error,
                       const BeforeReplaceStep& beforeReplace)
{
    error.clear();
    const QString target = linkedFile(path);
    QTemporaryFile file(ownTemporaryTemplate(target));
    // Unbuffered: each write reaches the system at once, and the one that
    // fails keeps the system's reason (a buffered flush can lose it).
    // QTemporaryFile hides open(mode); through QFile it makes the file all the same.
    if (!static_cast<QFile&>(file).open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        error = ioReason(file);
        return false;
    }
    // From here on the destructor removes the temporary file unless it took target's place.
    const int fd = file.handle();
    ::fchmod(fd, modeFor(target));
    if (!write(file, error)) {
        if (error.isEmpty())
            error = ioReason(file);
        return false;
    }
    if (!file.flush()) {
        error = ioReason(file);
        return false;
    }
    if (::fsync(fd) != 0) {
        error = systemReason(errno);
        return false;
    }
    if (beforeReplace && !beforeReplace(file, error))
        return false;
    if (::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(target).constData()) !=
        0) {
        error = systemReason(errno);
        return false;
    }
    file.setAutoRemove(false);
    syncFolder(QFileInfo(target).absolutePath());
    return true;
}

bool SafeFileWriter::replaceFile(const QString& path, const WriteStep& write)
{
    m_cancelled = false;
    QString error;
    const bool done = replaceFileSafely(path, write, error, m_beforeReplace);
    m_error = done ? QString() : error;
    return done;
}

}  // namespace td
