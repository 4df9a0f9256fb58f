#include "save_guard.h"

#include "copy_in_place.h"
#include "deposit_file_writer.h"
#include "file_metadata.h"
#include "save_leftovers.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QTemporaryFile>
#include <sys/stat.h>
#include <unistd.h>

namespace td {

namespace {

QString absolute(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

}  // namespace

void SaveGuard::remember(const QString& path, const FileIdentity& identity)
{
    m_knownPath = absolute(path);
    m_known = identity;
}

void SaveGuard::forget()
{
    m_knownPath.clear();
    m_known = {};
    m_lastSaveStartedNs = 0;
}

bool SaveGuard::isKnown(const QString& path) const
{
    return !m_knownPath.isEmpty() && absolute(path) == m_knownPath;
}

void SaveGuard::follow(const QString& path)
{
    if (isKnown(path))
        return;
    forget();
    remember(path, settledIdentity(path));
}

bool SaveGuard::changedOnDisk(const QString& path) { return isKnown(path) && changedSince(m_known, path); }

// The last comparison, once the new contents are synced, just before the old
// file goes: why the save must stop, or nothing.
QString SaveGuard::lastComparison(const QString& path)
{
    if (m_lastMoment)
        m_lastMoment();
    if (!changedOnDisk(path))
        return {};
    return tr("Another program changed the file while it was being saved.");
}

QString SaveGuard::refusal(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode))
        return {};
    if (S_ISDIR(st.st_mode))
        return tr("The name belongs to a directory, not to a file.");
    if (S_ISFIFO(st.st_mode))
        return tr("The name belongs to a named pipe (FIFO), not to a file.");
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return tr("The name belongs to a device, not to a file.");
    if (S_ISSOCK(st.st_mode))
        return tr("The name belongs to a socket, not to a file.");
    return tr("The name belongs to something that is not a file.");
}

bool SaveGuard::fail(const QString& reason)
{
    m_error = reason;
    return false;
}

bool SaveGuard::save(const QString& path, DepositFileWriter& writer, const WriteTo& writeTo)
{
    m_error.clear();
    m_oldFileChanged = false;
    m_written = {};
    if (const QString why = refusal(path); !why.isEmpty())
        return fail(why);
    const qint64 started = currentTimeNs();
    struct stat st {};
    const bool exists = ::stat(QFile::encodeName(path).constData(), &st) == 0;
    const bool inPlace = exists && st.st_nlink > 1;
    const bool saved =
        inPlace ? writeInPlace(path, writer, writeTo) : replaceWhole(path, exists, writer, writeTo);
    if (!saved)
        return false;
    const FileIdentity written = m_written.exists ? m_written : settledIdentity(path);
    remember(path, inPlace ? written : settledAfterRename(written, path));
    m_lastSaveStartedNs = started;
    return true;
}

bool SaveGuard::replaceWhole(const QString& path, bool oldExists, DepositFileWriter& writer,
                             const WriteTo& writeTo)
{
    writer.setBeforeReplace([&](QFileDevice& newFile, QString& reason) {
        const int fd = newFile.handle();
        if (oldExists)
            copyMetadata(path, fd);
        // The sync that the replacement makes anyway, done first so that the
        // time it takes counts towards settling the new file's identity, and
        // so that the last comparison comes after it, next to the rename.
        ::fsync(fd);
        m_written = settledIdentity(fd, writer.contentHash());
        reason = lastComparison(path);
        return reason.isEmpty();
    });
    const bool written = writeTo(path);
    writer.setBeforeReplace({});
    return written || fail(writer.errorString());
}

bool SaveGuard::writeInPlace(const QString& path, DepositFileWriter& writer, const WriteTo& writeTo)
{
    // The new contents first go whole into a file beside the old one, under
    // the name an interrupted save leaves, so that a failure at any point
    // leaves one complete file or the other.
    QTemporaryFile reserved(QFileInfo(path).canonicalFilePath() + QLatin1String(".XXXXXX"));
    reserved.setAutoRemove(false);
    if (!reserved.open())
        return fail(reserved.errorString());
    const QString copy = reserved.fileName();
    reserved.close();
    if (!writeTo(copy)) {
        QFile::remove(copy);
        return fail(writer.errorString());
    }
    const InPlaceCopy result = copyInPlace(copy, path, [&] { return lastComparison(path); });
    if (!result.done && result.targetTouched) {
        m_oldFileChanged = true;
        return fail(tr("%1. The complete new contents are in %2.")
                        .arg(result.reason, QDir::toNativeSeparators(copy)));
    }
    QFile::remove(copy);
    if (!result.done)
        return fail(result.reason);
    m_written = result.written;
    m_written.contentHash = writer.contentHash();
    return true;
}

void SaveGuard::removeLeftovers(const QString& path) const
{
    if (isKnown(path) && m_lastSaveStartedNs > 0)
        removeSaveLeftovers(path, m_lastSaveStartedNs);
}

}  // namespace td
