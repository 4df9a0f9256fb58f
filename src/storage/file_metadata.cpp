#include "file_metadata.h"

#include <QByteArray>
#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace td {

namespace {

void copyOwner(const struct stat& from, int toFd)
{
    struct stat to {};
    if (::fstat(toFd, &to) != 0 || (to.st_uid == from.st_uid && to.st_gid == from.st_gid))
        return;
    // Only the superuser may give a file away; an owner may still pick any
    // group it belongs to.
    if (::fchown(toFd, from.st_uid, from.st_gid) != 0)
        (void)::fchown(toFd, uid_t(-1), from.st_gid);
}

QByteArray attributeNames(const QByteArray& path)
{
    for (;;) {
        const ssize_t size = ::listxattr(path.constData(), nullptr, 0);
        if (size <= 0)
            return {};
        QByteArray names(size, '\0');
        const ssize_t got = ::listxattr(path.constData(), names.data(), size_t(names.size()));
        if (got >= 0)
            return names.left(got);
        if (errno != ERANGE)  // the list grew in between: ask again
            return {};
    }
}

void copyAttributes(const QByteArray& fromPath, int toFd)
{
    const QByteArray names = attributeNames(fromPath);
    for (const QByteArray& name : names.split('\0')) {
        if (name.isEmpty())
            continue;
        const ssize_t size = ::getxattr(fromPath.constData(), name.constData(), nullptr, 0);
        if (size < 0)
            continue;
        QByteArray value(size, '\0');
        const ssize_t got =
            ::getxattr(fromPath.constData(), name.constData(), value.data(), size_t(value.size()));
        if (got >= 0)
            (void)::fsetxattr(toFd, name.constData(), value.constData(), size_t(got), 0);
    }
}

}  // namespace

void copyMetadata(const QString& fromPath, int toFd)
{
    const QByteArray path = QFile::encodeName(fromPath);
    struct stat from {};
    if (::stat(path.constData(), &from) != 0)
        return;
    copyOwner(from, toFd);
    copyAttributes(path, toFd);
    // Last: a change of owner clears the set-user and set-group bits, and an
    // access control list sets the group bits from its mask.
    (void)::fchmod(toFd, from.st_mode & 07777);
}

}  // namespace td
