#include "commands/export_questions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace td {

namespace {
QString tr(const char* text) { return QCoreApplication::translate("Export", text); }
QString shownPath(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}
}  // namespace

std::optional<QString> askCsvFileName(Platform& platform, const QString& proposed, const QString& title)
{
    const FileDialogSettings settings{QStringLiteral("csv"), tr("CSV Files (*.csv)"), proposed, title};
    const std::optional<QString> name = platform.files.saveFileName(settings);
    if (!name || name->trimmed().isEmpty())
        return std::nullopt;
    // The dialog does not ask about replacing a file; an export must not do it unasked.
    if (QFileInfo::exists(*name) &&
        platform.messages.ask(tr("Export"),
                              tr("The file \"%1\" already exists. Replace it?").arg(shownPath(*name)),
                              MessageIcon::Question, MessageButtons::YesNo) != MessageButton::Yes)
        return std::nullopt;
    return name;
}

void reportExportFailure(MessageBoxes& messages, const QString& path, const QString& reason)
{
    messages.ask(
        tr("Export"),
        tr("The CSV file could not be written.\n\nFile: %1\nReason: %2").arg(shownPath(path), reason),
        MessageIcon::Information, MessageButtons::Ok);
}

}  // namespace td
