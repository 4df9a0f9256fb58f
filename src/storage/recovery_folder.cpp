#include "recovery_folder.h"

#include "folder_sync.h"
#include "own_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>
#include <QSysInfo>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace td {

namespace {

const QLatin1String kPrefix("recovery-");
const QLatin1String kSuffix(".tdrecovery");
const QLatin1String kLockSuffix(".lock");
const QLatin1String kDamagedSuffix(".damaged");
constexpr int kMaxNames = 1000;

// A part of a name: letters, digits and dots; anything else becomes "_".
QString namePart(const QString& text)
{
    QString part = text.isEmpty() ? QStringLiteral("unknown") : text;
    for (QChar& c : part) {
        if (!(c.unicode() < 128 && (c.isLetterOrNumber() || c == QLatin1Char('.'))))
            c = QLatin1Char('_');
    }
    return part;
}

std::unique_ptr<QLockFile> lockFor(const QString& copyPath)
{
    auto lock = std::make_unique<QLockFile>(RecoveryFolder::lockPath(copyPath));
    // Held for as long as the owner runs: only a lock whose process is gone is stale.
    lock->setStaleLockTime(0);
    return lock;
}

// What safe replacements of the copy left when they were cut short.
void removeLeftovers(const QString& copyPath)
{
    const QFileInfo info(copyPath);
    const QDir folder = info.dir();
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (isOwnTemporaryName(name, info.fileName()))
            QFile::remove(folder.filePath(name));
    }
}

}  // namespace

QString RecoveryFolder::defaultPath()
{
    // The user's state folder; where XDG_STATE_HOME is unset or not absolute,
    // its default, ~/.local/state.
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    const QString base = !state.isEmpty() && QDir::isAbsolutePath(state)
                             ? state
                             : QDir::home().filePath(QStringLiteral(".local/state"));
    return QDir(base).filePath(QStringLiteral("termdeposit/recovery"));
}

QString RecoveryFolder::lockPath(const QString& copyPath) { return copyPath + kLockSuffix; }

std::vector<RecoveryFolder::LeftCopy> RecoveryFolder::leftCopies(const QString& ownCopy) const
{
    const QDir folder(m_path);
    // Copies, and locks whose copy was never written, by the copy's name.
    QSet<QString> copies;
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!name.startsWith(kPrefix))
            continue;
        if (name.endsWith(kSuffix))
            copies.insert(name);
        else if (name.endsWith(kSuffix + kLockSuffix))
            copies.insert(name.chopped(kLockSuffix.size()));
    }
    std::vector<LeftCopy> left;
    for (const QString& name : copies) {
        const QString path = folder.filePath(name);
        if (!ownCopy.isEmpty() && QFileInfo(path) == QFileInfo(ownCopy))
            continue;
        std::shared_ptr<QLockFile> lock = lockFor(path);
        if (!lock->tryLock(0))
            continue;  // its owner runs (or runs on another computer)
        removeLeftovers(path);
        const QFileInfo info(path);
        if (!info.exists())
            continue;  // ended before its first copy: the lock goes with `lock`
        left.push_back({path, info.lastModified(), std::move(lock)});
    }
    std::sort(left.begin(), left.end(),
              [](const LeftCopy& a, const LeftCopy& b) { return a.modified > b.modified; });
    return left;
}

bool RecoveryFolder::remove(LeftCopy& copy)
{
    const bool removed = QFile::remove(copy.path) || !QFileInfo::exists(copy.path);
    if (removed)
        syncFolder(QFileInfo(copy.path).absolutePath());
    copy.lock.reset();
    return removed;
}

QString RecoveryFolder::setAside(LeftCopy& copy, QString& error)
{
    QString target = copy.path + kDamagedSuffix;
    for (int n = 2; QFileInfo::exists(target) && n < kMaxNames; ++n)
        target = copy.path + QLatin1Char('.') + QString::number(n) + kDamagedSuffix;
    QFile file(copy.path);
    if (!file.rename(target)) {
        error = file.errorString();
        copy.lock.reset();
        return {};
    }
    syncFolder(QFileInfo(target).absolutePath());
    copy.lock.reset();
    return target;
}

bool RecoveryFolder::takeOver(LeftCopy& copy, const QString& ownPath, QString& error)
{
    if (::rename(QFile::encodeName(copy.path).constData(), QFile::encodeName(ownPath).constData()) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    syncFolder(QFileInfo(ownPath).absolutePath());
    copy.lock.reset();
    return true;
}

bool RecoveryFolder::claim(QString& copyPath, std::unique_ptr<QLockFile>& lock, QString& error) const
{
    // A folder made here is the user's alone: the copies hold their deposits.
    const bool made = !QFileInfo::exists(m_path);
    if (!QDir().mkpath(m_path)) {
        error = QCoreApplication::translate("RecoveryCopy", "The folder %1 cannot be made.")
                    .arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    if (made)
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString stem = kPrefix + namePart(QSysInfo::machineHostName()) + QLatin1Char('-') +
                         namePart(QString::fromLatin1(QSysInfo::bootUniqueId())) + QLatin1Char('-') +
                         QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-');
    const QDir folder(m_path);
    for (int n = 1; n <= kMaxNames; ++n) {
        const QString path = folder.filePath(stem + QString::number(n) + kSuffix);
        // A copy under this name is someone's: one left by an earlier process
        // with this number, still to be offered.
        if (QFileInfo::exists(path) || QFileInfo::exists(path + kDamagedSuffix))
            continue;
        std::unique_ptr<QLockFile> candidate = lockFor(path);
        if (candidate->tryLock(0)) {
            copyPath = path;
            lock = std::move(candidate);
            return true;
        }
        if (candidate->error() != QLockFile::LockFailedError) {
            error = QCoreApplication::translate("RecoveryCopy", "No lock file can be made in the folder %1.")
                        .arg(QDir::toNativeSeparators(m_path));
            return false;
        }
    }
    error = QCoreApplication::translate("RecoveryCopy", "The folder %1 has no free name left.")
                .arg(QDir::toNativeSeparators(m_path));
    return false;
}

}  // namespace td
