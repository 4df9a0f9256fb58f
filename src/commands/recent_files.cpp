#include "commands/recent_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace td {

namespace {

const QString kKey = QStringLiteral("RecentFiles/files");

// The program's one settings file, beside the preferences
// (~/.config/termdeposit/termdeposit.conf).
QSettings settings() { return QSettings(); }

QString absolute(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

// A list as another version or a hand may have left it: empty names,
// repeats and names beyond the last place are dropped.
QStringList tidied(const QStringList& files)
{
    QStringList kept;
    for (const QString& file : files) {
        if (!file.isEmpty() && !kept.contains(file))
            kept.append(file);
    }
    return kept.mid(0, RecentFiles::kMaxFiles);
}

void store(const QStringList& files)
{
    QSettings s = settings();
    s.setValue(kKey, files);
}

}  // namespace

QStringList RecentFiles::files() const { return tidied(settings().value(kKey).toStringList()); }

void RecentFiles::add(const QString& path)
{
    if (path.trimmed().isEmpty())
        return;
    QStringList list = files();
    const QString file = absolute(path);
    list.removeAll(file);
    list.prepend(file);
    store(tidied(list));
}

void RecentFiles::remove(const QString& path)
{
    QStringList list = files();
    if (list.removeAll(path) + list.removeAll(absolute(path)) > 0)
        store(list);
}

void RecentFiles::clear() { settings().remove(kKey); }

}  // namespace td
