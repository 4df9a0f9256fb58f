#include "file_identity.h"

#include "content_hash.h"

#include <QByteArray>
#include <QFile>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace td {

namespace {

// Linux stamps a change with its coarse clock, which moves in ticks of at most
// 10 ms; once this clock is a step past a file's change time, any later change
// of the file gets a later one.
constexpr qint64 kTimestampStepNs = 20'000'000;
// A time ahead of this clock comes from another machine (a shared folder's
// server): waiting for it proves nothing.
constexpr qint64 kAheadToleranceNs = 1'000'000;
// A file that keeps changing while it is looked at is taken as it is after this many looks.
constexpr int kLooks = 3;
constexpr qsizetype kHashChunk = 1 << 20;

qint64 nanoseconds(const timespec& t) { return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec; }

FileIdentity fromStat(const struct stat& st)
{
    FileIdentity id;
    id.exists = true;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    id.size = st.st_size;
    id.modifiedNs = nanoseconds(st.st_mtim);
    id.statusChangedNs = nanoseconds(st.st_ctim);
    return id;
}

// File systems that keep whole seconds (two, for FAT) leave no fraction; a
// change within the same second would keep the time.
bool hasCoarseTimestamps(const FileIdentity& id) { return id.statusChangedNs % 1'000'000'000 == 0; }

// How long until the clock is a step past the file's change time; nothing
// where the time cannot be settled (coarse, or ahead of this clock).
std::optional<qint64> settlingWait(const FileIdentity& id)
{
    const qint64 wait = id.statusChangedNs + kTimestampStepNs - currentTimeNs();
    if (hasCoarseTimestamps(id) || wait > kTimestampStepNs + kAheadToleranceNs)
        return std::nullopt;
    return qMax<qint64>(0, wait);
}

std::optional<quint64> hashContents(int fd)
{
    QByteArray buffer(kHashChunk, Qt::Uninitialized);
    ContentHasher hasher;
    off_t offset = 0;
    for (;;) {
        const ssize_t n = ::pread(fd, buffer.data(), size_t(buffer.size()), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            return hasher.result();
        hasher.add(buffer.constData(), n);
        offset += n;
    }
}

int openForReading(const QString& path)
{
    // Non-blocking, so that a named pipe in the file's place cannot hang the program.
    return ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
}

}  // namespace

qint64 currentTimeNs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    return nanoseconds(ts);
}

FileIdentity FileIdentity::of(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return fromStat(st);
}

FileIdentity FileIdentity::ofOpenFile(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return {};
    return fromStat(st);
}

bool FileIdentity::sameButChangeTime(const FileIdentity& other) const
{
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
           modifiedNs == other.modifiedNs;
}

bool FileIdentity::sameStat(const FileIdentity& other) const
{
    return sameButChangeTime(other) && statusChangedNs == other.statusChangedNs;
}

FileIdentity settledTimes(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return {};
    if (!S_ISREG(st.st_mode))
        return fromStat(st);
    FileIdentity id;
    for (int look = 1; look <= kLooks; ++look) {
        id = FileIdentity::ofOpenFile(fd);
        const std::optional<qint64> wait = settlingWait(id);
        if (!wait)
            return id;
        if (*wait > 0)
            std::this_thread::sleep_for(std::chrono::nanoseconds(*wait));
        if (*wait == 0 || FileIdentity::ofOpenFile(fd).sameStat(id)) {
            id.timesSettled = true;
            return id;
        }
        // changed while waiting: look again
    }
    return id;
}

FileIdentity settledIdentity(int fd, std::optional<quint64> contentHash)
{
    FileIdentity id = settledTimes(fd);
    id.contentHash = contentHash;
    if (id.timesSettled || contentHash || !id.exists)
        return id;
    for (int look = 1;; ++look) {
        id.contentHash = hashContents(fd);
        const FileIdentity now = FileIdentity::ofOpenFile(fd);
        if (now.sameStat(id) || look >= kLooks)
            return id;
        id = now;
    }
}

FileIdentity settledIdentity(const QString& path)
{
    const int fd = openForReading(path);
    if (fd < 0)
        return FileIdentity::of(path);
    FileIdentity id = settledIdentity(fd);
    ::close(fd);
    return id;
}

FileIdentity settledAfterRename(const FileIdentity& written, const QString& path)
{
    const int fd = openForReading(path);
    if (fd < 0)
        return written;
    FileIdentity now = settledTimes(fd);
    ::close(fd);
    if (!now.sameButChangeTime(written))
        return written;
    now.contentHash = written.contentHash;
    return now;
}

bool changedSince(FileIdentity& known, const QString& path)
{
    const FileIdentity now = FileIdentity::of(path);
    if (!now.exists)
        return false;
    if (!now.sameButChangeTime(known))
        return true;
    const bool changeTimeMoved = now.statusChangedNs != known.statusChangedNs;
    if (known.timesSettled && !changeTimeMoved)
        return false;
    // Only the change time moved (new permissions, a new name, or contents
    // rewritten and given their old modification time back), or the times
    // cannot tell: the contents decide.
    if (!known.contentHash)
        return changeTimeMoved;
    const int fd = openForReading(path);
    if (fd < 0)
        return true;
    const std::optional<quint64> hash = hashContents(fd);
    const bool settled = known.timesSettled && settlingWait(now) == 0;
    ::close(fd);
    if (hash != known.contentHash)
        return true;
    if (settled)
        known.statusChangedNs = now.statusChangedNs;
    return false;
}

}  // namespace td
