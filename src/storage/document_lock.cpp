#include "document_lock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace td {

DocumentLock::DocumentLock() = default;
DocumentLock::~DocumentLock() = default;
DocumentLock::DocumentLock(DocumentLock&&) noexcept = default;
DocumentLock& DocumentLock::operator=(DocumentLock&&) noexcept = default;

QString DocumentLock::lockFilePath(const QString& filePath)
{
    // One lock for one file, whichever link or spelling names it.
    const QFileInfo info(filePath);
    const QString canonical = info.canonicalFilePath();
    const QFileInfo file(canonical.isEmpty() ? info.absoluteFilePath() : canonical);
    return file.dir().filePath(QLatin1Char('.') + file.fileName() + QLatin1String(".lock"));
}

DocumentLock::Result DocumentLock::lock(const QString& filePath)
{
    release();
    const QString path = lockFilePath(filePath);
    auto lock = std::make_unique<QLockFile>(path);
    // The lock stays while the file is open, for hours maybe: only a lock
    // whose process is gone counts as stale, never one that is merely old.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        m_lock = std::move(lock);
        m_lockFilePath = path;
        return Result::Locked;
    }
    if (lock->error() != QLockFile::LockFailedError)
        return Result::Unavailable;
    if (!lock->getLockInfo(&m_holder.processId, &m_holder.hostName, &m_holder.application))
        m_holder = {};
    return Result::HeldElsewhere;
}

void DocumentLock::release()
{
    m_lock.reset();
    m_lockFilePath.clear();
    m_holder = {};
}

bool DocumentLock::holds(const QString& filePath) const
{
    return isLocked() && lockFilePath(filePath) == m_lockFilePath;
}

}  // namespace td
