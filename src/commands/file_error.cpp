#include "commands/file_error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace td {

void showFileError(MessageBoxes& messages, const QString& failure, const QString& path, const QString& reason)
{
    const QString file = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    messages.ask(
        QCoreApplication::translate("FileError", "Term Deposit File Error"),
        QCoreApplication::translate("FileError", "%1\n\nFile: %2\nReason: %3").arg(failure, file, reason),
        MessageIcon::Information, MessageButtons::Ok);
}

}  // namespace td
