#include "commands/path_to_open.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/stat.h>

namespace td {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("PathToOpen", text); }

// The longest name of one file or folder, in bytes.
constexpr qsizetype kLongestName = NAME_MAX;

bool hasNameTooLong(const QByteArray& encoded)
{
    for (const QByteArray& part : encoded.split('/'))
        if (part.size() > kLongestName)
            return true;
    return false;
}

}  // namespace

PathCheck checkPathToOpen(const QString& path)
{
    // The system takes a path as bytes up to the first zero byte: a name
    // holding one, or a character that does not survive the conversion to
    // bytes, would name another file.
    const QByteArray encoded = QFile::encodeName(path);
    if (path.contains(QChar(u'\0')) || QFile::decodeName(encoded) != path)
        return {PathToOpen::Impossible, tr("The name holds a character that no file name can hold.")};
    if (encoded.isEmpty())
        return {PathToOpen::Missing, tr("No name was given.")};

    struct stat target {};
    if (::stat(encoded.constData(), &target) == 0) {
        if (S_ISREG(target.st_mode))
            return {PathToOpen::File, {}};
        return {PathToOpen::NotAFile, {}};
    }
    const int error = errno;
    switch (error) {
    case ENOENT: {
        struct stat link {};
        if (::lstat(encoded.constData(), &link) == 0 && S_ISLNK(link.st_mode))
            return {PathToOpen::DanglingLink, tr("The name is a link to \"%1\", which does not exist.")
                                                  .arg(QFileInfo(path).symLinkTarget())};
        return {PathToOpen::Missing, tr("No file of this name exists.")};
    }
    case ENAMETOOLONG:
        if (hasNameTooLong(encoded))
            return {
                PathToOpen::Impossible,
                tr("A name in the path is longer than the file system allows (%1 bytes).").arg(kLongestName)};
        return {PathToOpen::Impossible,
                tr("The path is longer than the system allows (%1 bytes).").arg(PATH_MAX)};
    case ENOTDIR:
        return {PathToOpen::Unreachable, tr("A part of the path that should be a folder is a file.")};
    default:
        return {PathToOpen::Unreachable, QString::fromLocal8Bit(std::strerror(error))};
    }
}

}  // namespace td
