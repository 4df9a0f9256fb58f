#pragma once

#include "recovery_copy.h"
#include "recovery_folder.h"
#include "recovery_pieces.h"
#include "recovery_writer.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

namespace td {

class Register;

// Keeps a recovery copy of the register while it holds unsaved changes, so
// that a crash, a kill or a power cut loses at most the last second of work.
// It follows the register through its model signals (rows inserted, removed,
// changed, reset) and asks whether the register is modified; at most
// kDelayMs after the first change it writes the copy, on a thread of its
// own. A register with nothing unsaved has no copy.
//
// The copy holds the rows that changed since the register was last read
// from or written to its file, and only the numbers of the rest (see
// RowPieces), so that the window's share of a write after one change is tiny
// whatever the size of the register.
class RecoveryKeeper : public QObject {
    Q_OBJECT

public:
    static constexpr int kDelayMs = 500;

    RecoveryKeeper(const Register& reg, std::function<QString()> document, std::function<bool()> modified,
                   QObject* parent = nullptr);
    ~RecoveryKeeper() override;  // as discard()

    // The folder of the copies (RecoveryFolder::defaultPath() unless set), before the first copy.
    void setFolder(const QString& folder) { m_writer.setFolder(folder); }
    QString folder() const { return m_writer.folder(); }
    // This process's copy, once it has one; empty before.
    QString copyPath() const { return m_writer.copyPath(); }
    // Copies left by copies of the program that no longer run (never this one's).
    std::vector<RecoveryFolder::LeftCopy> leftCopies() const
    {
        return RecoveryFolder(folder()).leftCopies(copyPath());
    }

    // The register's deposit rows are now the records of base, just read or
    // written (rows kept as texts excepted); an empty base: no file holds them.
    // The copy follows the modified state once the running command has finished.
    void follow(const RecoveryBase& base);
    // The register was just rebuilt from a left copy: its runs are the
    // copy's, and its file becomes this copy's own.
    bool adopt(const RecoveryCopy& copy, RecoveryFolder::LeftCopy& left, QString& error);
    // The changes are saved or given up: the copy goes now, and this returns once it is gone.
    void discard();

    // What the timer does, at once: the copy is written (or removed) on the writing thread.
    void update();
    // Returns when the writing thread has done everything asked of it.
    void waitForDisk() { m_writer.waitIdle(); }

signals:
    // The copy could not be written; the reason says why.
    void copyFailed(const QString& reason);
    void copyWritten();

private:
    void rowsChanged();
    void finished(const RecoveryWriter::Outcome& outcome);

    const Register& m_register;
    std::function<QString()> m_document;
    std::function<bool()> m_modified;
    RowPieces m_pieces;
    RecoveryBase m_base;
    QTimer m_timer;
    bool m_copyOnDisk = false;  // written, or asked to be, and not removed since
    RecoveryWriter m_writer;    // last: its thread ends before the rest goes
};

}  // namespace td
