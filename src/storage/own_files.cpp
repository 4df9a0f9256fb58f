#include "own_files.h"

#include <QDir>
#include <QFileInfo>

namespace td {

namespace {

const QLatin1String kMarker(".tdsave-");
constexpr qsizetype kRandomPart = 6;

}  // namespace

QString ownTemporaryTemplate(const QString& target)
{
    const QFileInfo info(target);
    return info.dir().filePath(QLatin1Char('.') + info.fileName() + kMarker + QLatin1String("XXXXXX"));
}

bool isOwnTemporaryName(const QString& fileName, const QString& targetFileName)
{
    const QString stem = QLatin1Char('.') + targetFileName + kMarker;
    if (fileName.size() != stem.size() + kRandomPart || !fileName.startsWith(stem))
        return false;
    for (const QChar c : QStringView(fileName).right(kRandomPart)) {
        if (!(c.isDigit() || (c.unicode() < 128 && c.isLetter())))
            return false;
    }
    return true;
}

}  // namespace td
