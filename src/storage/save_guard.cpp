#include "save_guard.h"

#include "copy_in_place.h"
#include "file_metadata.h"
#include "in_place_mark.h"
#include "own_files.h"
#include "safe_replace.h"
#include "save_leftovers.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace td {

namespace {

QString absolute(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

// Whether a new file put in the place of this one could be given its owner
// and group: only the superuser gives a file to another user, and a user
// gives it only a group of their own.
bool canKeepOwnerAndGroup(const struct stat& st)
{
    if (::geteuid() == 0)
        return true;
    if (st.st_uid != ::geteuid())
        return false;
    if (st.st_gid == ::getegid())
        return true;
    std::vector<gid_t> groups(std::max(::getgroups(0, nullptr), 0));
    const int count = ::getgroups(int(groups.size()), groups.data());
    return count > 0 &&
           std::find(groups.begin(), groups.begin() + count, st.st_gid) != groups.begin() + count;
}

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

bool SaveGuard::save(const QString& path, SafeFileWriter& writer, const WriteTo& writeTo)
{
    m_error.clear();
    m_oldFileChanged = false;
    m_written = {};
    if (const QString why = refusal(path); !why.isEmpty())
        return fail(why);
    // An earlier in-place write that did not finish may have left the file
    // torn: its complete copy stays until this save has made the file whole.
    const InPlaceMark earlier = InPlaceMark::find(path);
    if (earlier.writer == InPlaceMark::Writer::Running)
        return fail(tr("Another copy of the program (process %1 on %2) is saving the file right now.")
                        .arg(earlier.processId)
                        .arg(earlier.hostName));
    const qint64 started = currentTimeNs();
    struct stat st {};
    const bool exists = ::stat(QFile::encodeName(path).constData(), &st) == 0;
    const bool inPlace = exists && (st.st_nlink > 1 || !canKeepOwnerAndGroup(st));
    const bool saved =
        inPlace ? writeInPlace(path, earlier, writer, writeTo) : replaceWhole(path, exists, writer, writeTo);
    if (!saved)
        return false;
    if (earlier.exists()) {
        if (InPlaceMark::find(path).writer != InPlaceMark::Writer::Running)
            InPlaceMark::clear(path);
        if (!earlier.copyPath.isEmpty())
            QFile::remove(earlier.copyPath);
    }
    const FileIdentity written = m_written.exists ? m_written : settledIdentity(path);
    remember(path, inPlace ? written : settledAfterRename(written, path));
    m_lastSaveStartedNs = started;
    return true;
}

bool SaveGuard::replaceWhole(const QString& path, bool oldExists, SafeFileWriter& writer,
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

bool SaveGuard::writeInPlace(const QString& path, const InPlaceMark& earlier, SafeFileWriter& writer,
                             const WriteTo& writeTo)
{
    // The new contents first go whole into a file of this program's own
    // beside the old one, so that a failure at any point leaves one complete
    // file or the other.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    QTemporaryFile reserved(ownTemporaryTemplate(canonical));
    reserved.setAutoRemove(false);
    if (!reserved.open())
        return fail(reserved.errorString());
    const QString copy = reserved.fileName();
    reserved.close();
    if (!writeTo(copy)) {
        QFile::remove(copy);
        return fail(writer.errorString());
    }
    // Before the first byte of the file changes, a mark says that it is being
    // written and where the complete copy is; a kill in the middle of the
    // copy leaves a file that tells it may be torn.
    if (QString reason; !InPlaceMark::set(canonical, copy, reason)) {
        QFile::remove(copy);
        return fail(reason);
    }
    const InPlaceCopy result = copyInPlace(copy, path, [&] { return lastComparison(path); });
    if (!result.done && result.targetTouched) {
        m_oldFileChanged = true;
        InPlaceMark::setStopped(canonical, copy);
        return fail(tr("%1. The complete new contents are in %2.")
                        .arg(result.reason, QDir::toNativeSeparators(copy)));
    }
    // Synced (copyInPlace syncs the file) or untouched: the mark goes before its copy.
    if (result.done)
        InPlaceMark::clear(canonical);
    else
        InPlaceMark::restore(canonical, earlier);
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
