#pragma once

#include <QString>

namespace td {

// What stands at a path that the user chose to open, as the system sees it.
enum class PathToOpen {
    File,          // an ordinary file (a link to one counts)
    NotAFile,      // a folder, a device, a named pipe
    Missing,       // nothing has the name
    DanglingLink,  // a link whose target does not exist
    Impossible,    // no file can have this path: too long, a character no name can hold
    Unreachable,   // the path cannot be followed: a folder that may not be read, a file used as a folder
};

struct PathCheck {
    PathToOpen kind;
    QString reason;  // for the user; empty for File and NotAFile
};

PathCheck checkPathToOpen(const QString& path);

}  // namespace td
