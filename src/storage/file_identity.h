#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace td {

// What a file was at one moment: enough to tell later whether another program
// has changed or replaced it since. Size, modification time and inode show
// almost every change; where a change could leave all three as they were (a
// file system with coarse timestamps, or a time ahead of this machine's clock),
// a hash of the contents is kept as well.
struct FileIdentity {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;  // since the epoch
    std::optional<quint64> contentHash;

    // The file at path (links followed), or one that does not exist. No hash.
    static FileIdentity of(const QString& path);
    static FileIdentity ofOpenFile(int fd);

    bool sameStat(const FileIdentity& other) const;
};

// The identity of an open file, such that any later change of it differs:
// waits (a few milliseconds at most) until the clock is past the file's
// modification time by more than the timestamps' step, or, where that cannot
// be relied on, records a hash of the contents.
FileIdentity settledIdentity(int fd);
// The same for the file at path, read through a handle of its own.
FileIdentity settledIdentity(const QString& path);

// Whether the file at path is no longer the file that known describes. A file
// that is gone has not changed: there is nothing of it to lose.
bool changedSince(const FileIdentity& known, const QString& path);

// This machine's clock, in the unit of FileIdentity::modifiedNs.
qint64 currentTimeNs();

}  // namespace td
