#include "save_leftovers.h"

#include "core/deposit_file_format.h"
#include "in_place_mark.h"
#include "own_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace td {

namespace {

// Ours for the file: a save's temporary file, or the temporary file of the
// complete copy that a save writes beside a hard-linked file before it
// writes the file in place (".doc.tmd.tdsave-Ab3dE1" holds its copy in
// "..doc.tmd.tdsave-Ab3dE1.tdsave-Xy12Zw" until it is whole).
bool isLeftoverName(const QString& name, const QString& target)
{
    if (isOwnTemporaryName(name, target))
        return true;
    const QString inner = name.mid(1).section(QLatin1Char('.'), 0, -2);
    return isOwnTemporaryName(inner, target) && isOwnTemporaryName(name, inner);
}

}  // namespace

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
    const QStringList candidates = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : candidates) {
        if (!isLeftoverName(name, saved.fileName()))
            continue;
        const QString candidate = folder.filePath(name);
        if (candidate == marked)
            continue;
        struct stat st {};
        // A second name makes it someone's file; another owner, or contents
        // that are no deposit records, make it one that this program did not write.
        if (::lstat(QFile::encodeName(candidate).constData(), &st) != 0 || !S_ISREG(st.st_mode) ||
            st.st_nlink != 1 || st.st_uid != ::geteuid() || st.st_size % deposit_file::kRecordSize != 0)
            continue;
        const qint64 modifiedNs = qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
        if (modifiedNs < olderThanNs && QFile::remove(candidate))
            ++removed;
    }
    return removed;
}

}  // namespace td
