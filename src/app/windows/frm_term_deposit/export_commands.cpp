#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include "commands/csv_export.h"
#include "commands/export_questions.h"

#include <QDir>
#include <QFileInfo>

// File > Export to CSV: the register as a spreadsheet reads it, either every
// text as the grid shows it or with plain numbers. An export is a copy: the
// register, its file name and its modified state stay as they are.
namespace td {

namespace {

// Beside the register's own file, under its name (or Untitled); the two forms
// under names of their own, so that one never offers to replace the other.
QString proposedCsvName(const QString& registerFile, csv::Form form)
{
    const QString ending =
        form == csv::Form::PlainNumbers ? QStringLiteral("-plain.csv") : QStringLiteral(".csv");
    if (registerFile.trimmed().isEmpty())
        return frmTermDeposit::tr("Untitled") + ending;
    const QFileInfo file(registerFile);
    return file.dir().filePath(file.completeBaseName() + ending);
}

}  // namespace

void frmTermDeposit::fileExportCsv() { exportRegister(csv::Form::AsShown); }

void frmTermDeposit::fileExportCsvNumbers() { exportRegister(csv::Form::PlainNumbers); }

void frmTermDeposit::exportRegister(csv::Form form)
{
    // The Save dialog under the command's name: the two exports are told apart there.
    const QString title =
        form == csv::Form::PlainNumbers ? tr("Export to CSV with Plain Numbers") : tr("Export to CSV");
    const std::optional<QString> name = askCsvFileName(m_platform, proposedCsvName(m_fileName, form), title);
    if (!name)
        return;
    csv::FileExporter exporter;
    bool written = false;
    {
        BusyScope busy(m_platform.pointer);
        ProgressScope progress(
            m_platform.progress,
            tr("Exporting %1").arg(QDir::toNativeSeparators(QFileInfo(*name).absoluteFilePath())));
        exporter.setProgressStep(
            [&progress](qint64 done, qint64 total) { return progress.advance(done, total); });
        written = exporter.writeRegister(*name, m_register, form, m_platform.dateForm);
    }
    // A cancelled export is not a failure to tell about: the file is as it was, or there is none.
    if (!written && !exporter.cancelled())
        reportExportFailure(m_platform.messages, *name, exporter);
}

}  // namespace td
