#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace td {

// A lock file beside a deposit file that this program has open, so that
// another copy of the program opening the same file can tell. A lock left by a
// copy that ended without releasing it (killed, crashed) is taken over.
class DocumentLock {
public:
    enum class Result {
        Locked,         // this lock now holds the file
        HeldElsewhere,  // another running copy holds it; see holder()
        Unavailable,    // no lock can be made there (a read-only folder); nothing is held
    };
    // Who holds a lock, as far as its lock file tells.
    struct Holder {
        qint64 processId = 0;
        QString hostName;
        QString application;
    };

    DocumentLock();
    ~DocumentLock();
    DocumentLock(DocumentLock&&) noexcept;
    DocumentLock& operator=(DocumentLock&&) noexcept;

    // Releases what this lock held, then tries to lock filePath.
    Result lock(const QString& filePath);
    Holder holder() const { return m_holder; }
    void release();

    bool isLocked() const { return m_lock != nullptr; }
    // Whether this lock holds filePath (by any spelling of its path).
    bool holds(const QString& filePath) const;

    // The lock file that stands for filePath: hidden, in the same folder.
    static QString lockFilePath(const QString& filePath);

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_lockFilePath;
    Holder m_holder;
};

}  // namespace td
