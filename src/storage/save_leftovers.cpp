#include "save_leftovers.h"

#include "in_place_mark.h"

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
    // The random part mixes capitals and small letters; a word in any one
    // case ("backup", "BACKUP", "Backup") is the user's own file.
    bool small = false;
    bool capitalAfterFirst = false;
    const QStringView random = QStringView(fileName).right(kRandomPart);
    for (qsizetype i = 0; i < random.size(); ++i) {
        const char16_t c = random[i].unicode();
        const bool isSmall = c >= u'a' && c <= u'z';
        const bool isCapital = c >= u'A' && c <= u'Z';
        if (!isSmall && !isCapital && !(c >= u'0' && c <= u'9'))
            return false;
        small = small || isSmall;
        capitalAfterFirst = capitalAfterFirst || (isCapital && i > 0);
    }
    return small && capitalAfterFirst;
}

int removeSaveLeftovers(const QString& path, qint64 olderThanNs)
{
    // The temporary file is named after the file that the name leads to.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty())
        return 0;
    const QFileInfo saved(canonical);
    const QDir folder = saved.dir();
    // The complete copy that a mark names stays while the file may be torn.
    const QString marked = InPlaceMark::find(canonical).copyPath;
    int removed = 0;
    const QStringList candidates = folder.entryList({saved.fileName() + QLatin1String(".??????")},
                                                    QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : candidates) {
        if (!isSaveLeftoverName(name, saved.fileName()))
            continue;
        const QString candidate = folder.filePath(name);
        if (candidate == marked)
            continue;
        struct stat st {};
        // A leftover has one name; a second one makes it someone's file.
        if (::lstat(QFile::encodeName(candidate).constData(), &st) != 0 || !S_ISREG(st.st_mode) ||
            st.st_nlink != 1)
            continue;
        const qint64 modifiedNs = qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
        if (modifiedNs < olderThanNs && QFile::remove(candidate))
            ++removed;
    }
    return removed;
}

}  // namespace td
