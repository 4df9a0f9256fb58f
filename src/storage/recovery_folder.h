#pragma once

#include <QDateTime>
#include <QString>
#include <memory>
#include <vector>

class QLockFile;

namespace td {

// The folder of recovery copies in the user's state folder, and the names
// the copies go by there. Each running copy of the program keeps its own
// copy, named after the computer, its boot and the process
// ("recovery-host-bootid-4711-1.tdrecovery"), and holds a lock file beside it
// ("....tdrecovery.lock") for as long as it runs. A copy whose lock nobody
// holds any more was left by a copy of the program that ended without
// cleaning up (killed, crashed, the power cut): only such copies are ever offered,
// removed or set aside by another copy of the program.
class RecoveryFolder {
public:
    // $XDG_STATE_HOME/termdeposit/recovery, ~/.local/state/termdeposit/recovery
    // where XDG_STATE_HOME is not set.
    static QString defaultPath();

    explicit RecoveryFolder(QString path) : m_path(std::move(path)) {}
    QString path() const { return m_path; }

    // A copy left by a copy of the program that no longer runs; its lock is
    // held here from the moment it is found, so no other copy takes it meanwhile.
    struct LeftCopy {
        QString path;
        QDateTime modified;
        std::shared_ptr<QLockFile> lock;
    };
    // Newest first. ownCopy, this process's own copy, is never among them.
    std::vector<LeftCopy> leftCopies(const QString& ownCopy = {}) const;

    // Removes the copy and what was left beside it, then lets its lock go.
    static bool remove(LeftCopy& copy);
    // Renames the copy with ".damaged" added, in the same folder, and lets
    // its lock go: its new path, or empty with the reason in error (the copy then stays where it is).
    static QString setAside(LeftCopy& copy, QString& error);
    // Gives copy's file and lock to the copy at ownPath (this process's,
    // whose lock is held): the file is renamed, so one of the two names always holds it.
    static bool takeOver(LeftCopy& copy, const QString& ownPath, QString& error);

    // A name for this process's copy that no other copy uses, with its lock
    // taken; false (with the reason) where the folder cannot have one.
    bool claim(QString& copyPath, std::unique_ptr<QLockFile>& lock, QString& error) const;

    static QString lockPath(const QString& copyPath);

private:
    QString m_path;
};

}  // namespace td
