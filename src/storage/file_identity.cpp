#include "file_identity.h"

#include <QByteArray>
#include <QFile>
#include <QHashFunctions>
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
// 10 ms; once this clock is a step past a file's time, any later change of the
// file gets a later time.
constexpr qint64 kTimestampStepNs = 20'000'000;
// A time ahead of this clock comes from another machine (a shared folder's
// server): waiting for it proves nothing.
constexpr qint64 kAheadToleranceNs = 1'000'000;
// A file that keeps changing while it is looked at gets a hash after this many looks.
constexpr int kLooks = 3;
constexpr qsizetype kHashChunk = 1 << 20;

FileIdentity fromStat(const struct stat& st)
{
    FileIdentity id;
    id.exists = true;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    id.size = st.st_size;
    id.modifiedNs = qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    return id;
}

// File systems that keep whole seconds (two, for FAT) leave no fraction; a
// change within the same second would keep the time.
bool hasCoarseTimestamps(const FileIdentity& id) { return id.modifiedNs % 1'000'000'000 == 0; }

std::optional<quint64> hashContents(int fd)
{
    QByteArray buffer(kHashChunk, Qt::Uninitialized);
    size_t hash = 0;
    off_t offset = 0;
    for (;;) {
        const ssize_t n = ::pread(fd, buffer.data(), size_t(buffer.size()), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            return quint64(hash) ^ quint64(offset);
        hash = qHashBits(buffer.constData(), size_t(n), hash);
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
    return qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
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

bool FileIdentity::sameStat(const FileIdentity& other) const
{
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
           modifiedNs == other.modifiedNs;
}

FileIdentity settledIdentity(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return {};
    if (!S_ISREG(st.st_mode))
        return fromStat(st);
    for (int look = 1;; ++look) {
        FileIdentity id = FileIdentity::ofOpenFile(fd);
        const qint64 wait = id.modifiedNs + kTimestampStepNs - currentTimeNs();
        const bool timeIsTrusted = !hasCoarseTimestamps(id) && wait <= kTimestampStepNs + kAheadToleranceNs;
        if (timeIsTrusted && look < kLooks) {
            if (wait <= 0)
                return id;
            std::this_thread::sleep_for(std::chrono::nanoseconds(wait));
            if (FileIdentity::ofOpenFile(fd).sameStat(id))
                return id;
            continue;  // changed while waiting: look again
        }
        id.contentHash = hashContents(fd);
        if (FileIdentity::ofOpenFile(fd).sameStat(id) || look >= kLooks)
            return id;
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

bool changedSince(const FileIdentity& known, const QString& path)
{
    const FileIdentity now = FileIdentity::of(path);
    if (!now.exists)
        return false;
    if (!now.sameStat(known))
        return true;
    if (!known.contentHash)
        return false;
    const int fd = openForReading(path);
    if (fd < 0)
        return true;
    const std::optional<quint64> hash = hashContents(fd);
    ::close(fd);
    return hash != known.contentHash;
}

}  // namespace td
