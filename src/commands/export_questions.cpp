#include "commands/export_questions.h"

#include "commands/csv_export.h"
#include "commands/file_error.h"
#include "storage/save_guard.h"

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
    // A folder, a named pipe or a device is no file to replace: told at once, before any question.
    if (const QString refusal = SaveGuard::refusal(*name); !refusal.isEmpty()) {
        showFileError(platform.messages,
                      tr("The CSV file could not be written. The file on disk has not been changed."), *name,
                      refusal);
        return std::nullopt;
    }
    // The dialog does not ask about replacing a file; an export must not do it unasked.
    if (QFileInfo::exists(*name) &&
        platform.messages.ask(tr("Export"),
                              tr("The file \"%1\" already exists. Replace it?").arg(shownPath(*name)),
                              MessageIcon::Question, MessageButtons::YesNo) != MessageButton::Yes)
        return std::nullopt;
    return name;
}

void reportExportFailure(MessageBoxes& messages, const QString& path, const csv::FileExporter& exporter)
{
    // A failed export leaves the old file as it was, but for a hard-linked
    // one whose in-place write failed part-way (the reason says where the
    // complete copy is).
    const QString failure =
        exporter.oldFileChanged() ? tr("The CSV file could not be written completely.")
        : QFileInfo::exists(path)
            ? tr("The CSV file could not be written. The file on disk has not been changed.")
            : tr("The CSV file could not be written. No file has been created.");
    showFileError(messages, failure, path, exporter.errorString());
}

}  // namespace td
