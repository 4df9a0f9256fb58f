#include "copy_in_place.h"

#include "io_reason.h"

#include <QByteArray>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace td {

namespace {

constexpr qsizetype kCopyChunk = 1 << 20;

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

bool writeAll(int fd, const char* data, qsizetype size, off_t offset)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size_t(size), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
        offset += n;
    }
    return true;
}

}  // namespace

InPlaceCopy copyInPlace(const QString& from, const QString& to, const std::function<QString()>& lastCheck)
{
    InPlaceCopy result;
    const Descriptor source(::open(QFile::encodeName(from).constData(), O_RDONLY | O_CLOEXEC));
    const Descriptor target(::open(QFile::encodeName(to).constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    struct stat old {};
    if (source.fd() < 0 || target.fd() < 0 || ::fstat(source.fd(), &st) != 0 ||
        ::fstat(target.fd(), &old) != 0) {
        result.reason = systemReason(errno);
        return result;
    }
    // Until the first byte is written the target is as it was: a failure
    // before then gives back what the reservation took and its time of change.
    const auto untouched = [&](int error) {
        result.reason = systemReason(error);
        struct stat now {};
        if (::ftruncate(target.fd(), old.st_size) != 0 || ::fstat(target.fd(), &now) != 0 ||
            now.st_size != old.st_size)
            result.targetTouched = true;
        const timespec times[2] = {{0, UTIME_OMIT}, old.st_mtim};
        ::futimens(target.fd(), times);
        return result;
    };
    if (lastCheck && !(result.reason = lastCheck()).isEmpty())
        return result;
    const off_t size = st.st_size;
    if (size > 0) {
        // Room is reserved without the size changing, so that readers see the
        // old file until it is overwritten. Where the file system cannot
        // reserve room, the copy goes on unreserved.
        if (::fallocate(target.fd(), FALLOC_FL_KEEP_SIZE, 0, size) != 0 && errno != EOPNOTSUPP &&
            errno != ENOSYS)
            return untouched(errno);
    }
    QByteArray buffer(kCopyChunk, Qt::Uninitialized);
    for (off_t offset = 0; offset < size;) {
        const ssize_t n = ::pread(source.fd(), buffer.data(), size_t(buffer.size()), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (!result.targetTouched)
                return untouched(n < 0 ? errno : EIO);
            result.reason = n < 0 ? systemReason(errno) : systemReason(EIO);
            return result;
        }
        result.targetTouched = true;
        if (!writeAll(target.fd(), buffer.constData(), n, offset)) {
            result.reason = systemReason(errno);
            return result;
        }
        offset += n;
    }
    result.targetTouched = true;
    if (::ftruncate(target.fd(), size) != 0 || ::fsync(target.fd()) != 0) {
        result.reason = systemReason(errno);
        return result;
    }
    result.written = settledIdentity(target.fd());
    result.done = true;
    return result;
}

}  // namespace td
