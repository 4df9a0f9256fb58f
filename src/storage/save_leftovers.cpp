#include "save_leftovers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace td {

bool isSaveLeftoverName(const QString& fileName, const QString& savedFileName)
{
    constexpr int kRandomPart = 6;
    if (fileName.size() != savedFileName.size() + 1 + kRandomPart || !fileName.startsWith(savedFileName) ||
        fileName.at(savedFileName.size()) != QLatin1Char('.'))
        return false;
    for (const QChar c : fileName.right(kRandomPart)) {
        if (!(c.isDigit() || (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
              (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))))
            return false;
    }
    return true;
}

int removeSaveLeftovers(const QString& path, qint64 olderThanNs)
{
    // The temporary file is named after the file that the name leads to.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty())
        return 0;
    const QFileInfo saved(canonical);
    const QDir folder = saved.dir();
    int removed = 0;
    const QStringList candidates = folder.entryList({saved.fileName() + QLatin1String(".??????")},
                                                    QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : candidates) {
        if (!isSaveLeftoverName(name, saved.fileName()))
            continue;
        const QString candidate = folder.filePath(name);
        struct stat st {};
        if (::lstat(QFile::encodeName(candidate).constData(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        const qint64 modifiedNs = qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
        if (modifiedNs < olderThanNs && QFile::remove(candidate))
            ++removed;
    }
    return removed;
}

}  // namespace td
