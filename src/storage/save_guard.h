#pragma once

#include "file_identity.h"

#include <QCoreApplication>
#include <QString>
#include <functional>

namespace td {

class SafeFileWriter;
struct InPlaceMark;

// What this program knows of its document's file on disk, and the save that
// respects it: the file is compared with what it was when it was last read or
// written here, a save keeps what the old file was (owner, group, permission
// bits, extended attributes, hard links), and what interrupted saves left
// beside the file is cleared away.
class SaveGuard {
    Q_DECLARE_TR_FUNCTIONS(SaveGuard)

public:
    // Writes the register to the path given, through the writer handed to save().
    using WriteTo = std::function<bool(const QString& path)>;

    // What the file is when read (DepositFileReader::fileIdentity) or when
    // the user is asked about it (identityNow).
    void remember(const QString& path, const FileIdentity& identity);
    void forget();
    // The document now goes by path: another file known before is forgotten,
    // and path is known as it is on disk now (or as not existing).
    void follow(const QString& path);

    // Whether another program changed or replaced the file at path since this
    // program last read or wrote it. A file never read or written here, and
    // one deleted since, has not changed.
    bool changedOnDisk(const QString& path);
    // The file at path as it is now: remember() it to let a save replace it as
    // it is then; a change after this is still caught.
    static FileIdentity identityNow(const QString& path) { return settledIdentity(path); }

    // Why nothing may be saved under path: the name belongs to something that
    // is not a regular file (a folder, a named pipe, a device). Empty otherwise.
    static QString refusal(const QString& path);

    // Saves through writeTo, which writes through the writer (the deposit
    // file's or the CSV export's) to the path it is given. A file with one
    // name is replaced whole, carrying its owner, group, permission bits and
    // extended attributes over; a file with several names (hard links), and
    // one whose owner or group this process could not give a new file, is
    // written in place, but only once the new contents are complete and
    // synced in a file beside it, so that every name sees them. Just before
    // the old contents go, the file is compared again: a change since
    // changedOnDisk() was asked fails the save and keeps the file.
    bool save(const QString& path, SafeFileWriter& writer, const WriteTo& writeTo);
    QString errorString() const { return m_error; }
    // Runs once the new contents are complete and synced, just before the
    // last comparison with the file on disk: where a test plays another
    // program that writes at the last moment.
    void setLastMomentStep(std::function<void()> step) { m_lastMoment = std::move(step); }
    // After a failed save: whether the old file was partly overwritten (a hard-linked
    // file whose in-place write failed); the complete new contents stay beside it.
    bool oldFileChanged() const { return m_oldFileChanged; }

    // Removes what interrupted saves left beside the file saved last: this
    // program's own temporary files, older than that save (save_leftovers.h).
    // Only while no other copy of the program holds the file, or its save in
    // progress could be removed.
    void removeLeftovers(const QString& path) const;

private:
    bool isKnown(const QString& path) const;
    QString lastComparison(const QString& path);
    bool replaceWhole(const QString& path, bool oldExists, SafeFileWriter& writer, const WriteTo& writeTo);
    bool writeInPlace(const QString& path, const InPlaceMark& earlier, SafeFileWriter& writer,
                      const WriteTo& writeTo);
    bool fail(const QString& reason);

    QString m_knownPath;  // absolute; empty when nothing is known
    FileIdentity m_known;
    FileIdentity m_written;  // by the save in progress
    qint64 m_lastSaveStartedNs = 0;
    std::function<void()> m_lastMoment;
    QString m_error;
    bool m_oldFileChanged = false;
};

}  // namespace td
