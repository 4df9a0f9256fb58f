#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace td {

// What a file was at one moment: enough to tell later whether another program
// has changed or replaced it since. Size, modification time and inode show
// almost every change; the change time shows the rest (contents rewritten and
// their old modification time put back, as cp -p does), but it moves for new
// permissions or a new name as well. Where only the change time moved, and
// where the times cannot be relied on (a file system with coarse timestamps,
// a time ahead of this machine's clock), the contents decide, through a hash
// of them taken when they were read or written.
struct FileIdentity {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;       // since the epoch
    qint64 statusChangedNs = 0;  // the change time, since the epoch
    bool timesSettled = false;   // any later change of the file moves its change time
    std::optional<quint64> contentHash;

    // The file at path (links followed), or one that does not exist. Not settled, no hash.
    static FileIdentity of(const QString& path);
    static FileIdentity ofOpenFile(int fd);

    // Everything but the change time is the same.
    bool sameButChangeTime(const FileIdentity& other) const;
    bool sameStat(const FileIdentity& other) const;
};

// The identity of an open file with its times settled: waits (a few
// milliseconds at most) until the clock is past the file's change time by more
// than the timestamps' step, so that any later change moves it. No hash.
FileIdentity settledTimes(int fd);
// The same with the hash of the contents given (by the code that wrote them),
// or, where the times cannot be settled, hashed from the file.
FileIdentity settledIdentity(int fd, std::optional<quint64> contentHash = std::nullopt);
// The same for the file at path, read through a handle of its own.
FileIdentity settledIdentity(const QString& path);
// A file just renamed into place, which moves its change time: written, with
// the change time the file has now, settled. Written as it was where path no
// longer names the file written.
FileIdentity settledAfterRename(const FileIdentity& written, const QString& path);

// Whether the file at path is no longer the file that known describes. A file
// that is gone has not changed: there is nothing of it to lose. Where only the
// change time moved and the contents are the same (new permissions, a new
// name), known takes the new change time, so the contents are not compared again.
bool changedSince(FileIdentity& known, const QString& path);

// This machine's clock, in the unit of FileIdentity::modifiedNs.
qint64 currentTimeNs();

}  // namespace td
