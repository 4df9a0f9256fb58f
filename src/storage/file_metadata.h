#pragma once

#include <QString>

namespace td {

// Gives the file open at toFd what the file at fromPath has: its owner and
// group where this process may set them, its permission bits, and its
// extended attributes (access control lists among them) where the file system
// keeps them. What cannot be carried over is left as it is: the save goes on.
void copyMetadata(const QString& fromPath, int toFd);

}  // namespace td
