#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include "commands/deposit_file_name.h"
#include "commands/file_error.h"
#include "commands/path_to_open.h"
#include "storage/deposit_file_reader.h"
#include "storage/deposit_file_writer.h"
#include "storage/exact_save_check.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

// The File commands (New, Open, Save, Save As, Exit) and the save prompts.
// A command stops at the first step that fails or is cancelled; a failure is
// told in a message box, a cancel is not. A failed save leaves the file on
// disk as it was, and a failed open leaves the register as it was.
namespace td {

namespace {

constexpr int kInexactDepositsNamed = 5;

// Anything but a folder that has the name: a file, a named pipe, a device, a
// link (even one that leads nowhere). Replacing it needs the user's word.
bool isNameTaken(const QString& name)
{
    const QFileInfo info(name);
    return (info.exists() || info.isSymLink()) && !info.isDir();
}

QString fullPath(const QString& name) { return QDir::toNativeSeparators(QFileInfo(name).absoluteFilePath()); }

}  // namespace

FileDialogSettings frmTermDeposit::fileDialogSettings() const
{
    return {QStringLiteral("tmd"), tr("Term Deposit Files (*.tmd)"), m_fileName};
}

void frmTermDeposit::showFileError(const QString& failure, const QString& path, const QString& reason)
{
    td::showFileError(m_platform.messages, failure, path, reason);
}

// A cell that a save and a reopen would change is named before anything is
// written, and the user decides; No ends the save as a cancel does.
bool frmTermDeposit::confirmExactSave()
{
    const InexactDeposits found = findInexactDeposits(m_register, kInexactDepositsNamed);
    if (found.none())
        return true;
    QStringList lines;
    for (std::size_t i = 0; i < found.cells.size();) {
        const int row = found.cells[i].row;
        QStringList columns;
        for (; i < found.cells.size() && found.cells[i].row == row; ++i)
            columns.append(headerText(found.cells[i].column));
        const QString account = m_register.cell(row, AccountNumber);
        const QString deposit = account.trimmed().isEmpty() ? tr("Row %1 (no account number)").arg(row)
                                                            : tr("Account %1").arg(account);
        lines.append(tr("%1: %2").arg(deposit, columns.join(tr(", "))));
    }
    const int more = found.depositCount - kInexactDepositsNamed;
    if (more == 1)
        lines.append(tr("and 1 more deposit"));
    else if (more > 1)
        lines.append(tr("and %1 more deposits").arg(more));
    const QString text =
        tr("Some values do not fit the Term Deposit file as they stand: they are longer than their "
           "field, hold characters that the file cannot hold, or begin or end with spaces. They will "
           "be shortened or changed in the file:\n\n%1\n\nSave the file anyway?")
            .arg(lines.join(QLatin1Char('\n')));
    return m_platform.messages.ask(tr("Save File?"), text, MessageIcon::Question, MessageButtons::YesNo) ==
           MessageButton::Yes;
}

bool frmTermDeposit::SaveFirst()
{
    if (!m_flags.ModifiedFlag)
        return true;
    if (m_platform.messages.ask(tr("Save File?"), tr("Save file before exiting?"), MessageIcon::Question,
                                MessageButtons::YesNo) != MessageButton::Yes)
        return true;
    if (!saveDocument())
        return false;
    // The register stays marked modified until the command that asked clears it.
    m_history.savedButModified();
    return true;
}

bool frmTermDeposit::saveDocument()
{
    return !saveRefused(m_fileName) && confirmExactSave() && PrepareSaveFile() && SaveRegisterFile();
}

bool frmTermDeposit::saveRefused(const QString& name)
{
    const QString refusal = SaveGuard::refusal(name);
    if (!refusal.isEmpty())
        showFileError(tr("The Term Deposit file could not be saved. The file on disk has not been changed."),
                      name, refusal);
    return !refusal.isEmpty();
}

bool frmTermDeposit::PrepareSaveFile()
{
    if (m_fileName.trimmed().isEmpty()) {
        const std::optional<QString> name = m_platform.files.saveFileName(fileDialogSettings());
        if (!name || name->trimmed().isEmpty())
            return false;
        nameDocument(*name);
    }
    // An existing file of that name is not deleted here: the save writes a new
    // file beside it and puts it in its place only when it is complete.
    return true;
}

bool frmTermDeposit::SaveRegisterFile()
{
    if (m_fileName.trimmed().isEmpty() || saveRefused(m_fileName) || !confirmReplaceChangedFile())
        return false;
    DepositFileWriter writer;
    bool saved = false;
    {
        BusyScope busy(m_platform.pointer);
        ProgressScope progress(m_platform.progress, tr("Saving %1").arg(fullPath(m_fileName)));
        writer.setProgressStep(
            [&progress](qint64 done, qint64 total) { return progress.advance(done, total); });
        saved = m_saveGuard.save(m_fileName, writer,
                                 [&](const QString& target) { return writer.writeFile(target, m_register); });
    }
    // A cancelled save is not a failure to tell about; the register stays unsaved.
    if (!saved && writer.cancelled())
        return false;
    if (!saved) {
        const QString failure =
            m_saveGuard.oldFileChanged()
                ? tr("The Term Deposit file could not be saved completely.")
                : tr("The Term Deposit file could not be saved. The file on disk has not been changed.");
        showFileError(failure, m_fileName, m_saveGuard.errorString());
        return false;
    }
    holdFileAfterSave();
    m_recentFiles.add(m_fileName);
    showRecentFiles();
    m_recovery.follow(writer.contentHash() ? RecoveryBase{m_fileName, qint64(m_register.depositCount()) * 100,
                                                          *writer.contentHash()}
                                           : RecoveryBase());
    // The save leaves the current cell on the last deposit row, column Active.
    m_register.setRow(0);
    if (m_register.depositCount() > 0)
        m_register.setCurrentCell(m_register.rows() - 2, Active);
    return true;
}

void frmTermDeposit::fileNew()
{
    if (!SaveFirst())
        return;
    BusyScope busy(m_platform.pointer);
    m_lock.release();
    m_saveGuard.forget();
    setUntitled();
    m_register.setRows(2);
    m_register.setRow(1);
    for (int c = 0; c < ColumnCount; ++c) {
        m_register.setCol(c);
        m_register.setText(QString());
    }
    m_history.replaced();
    m_recovery.follow({});
}

void frmTermDeposit::fileOpen() { openDocument(std::nullopt); }

void frmTermDeposit::openFile(const QString& path) { openDocument(path); }

void frmTermDeposit::openRecentFile(const QString& path)
{
    if (openDocument(path) == OpenOutcome::NameRefused) {
        m_recentFiles.remove(path);
        showRecentFiles();
    }
}

// A path given from outside (command line, drop) takes the place of the dialog.
frmTermDeposit::OpenOutcome frmTermDeposit::openDocument(const std::optional<QString>& chosen)
{
    if (!SaveFirst())
        return OpenOutcome::Stopped;
    const std::optional<QString> name = chosen ? chosen : m_platform.files.openFileName(fileDialogSettings());
    if (!name)
        return OpenOutcome::Stopped;
    // A name that passes the extension test but names nothing that can be
    // opened is told for what it is; a folder or a device is no deposit file.
    const PathCheck path =
        isDepositFileName(*name) ? checkPathToOpen(*name) : PathCheck{PathToOpen::NotAFile, {}};
    if (path.kind != PathToOpen::File && path.kind != PathToOpen::NotAFile) {
        showFileError(tr("The Term Deposit file could not be opened. The register has not been changed."),
                      *name, path.reason);
        return OpenOutcome::NameRefused;
    }
    if (path.kind != PathToOpen::File) {
        m_platform.messages.ask(tr("Term Deposit File Only"),
                                tr("This is not a Term Deposit file. Select a Term Deposit file."),
                                MessageIcon::Question, MessageButtons::YesNo);
        return OpenOutcome::NameRefused;
    }
    DocumentLock lock;
    if (!m_lock.holds(*name) && !lockForOpening(lock, *name))
        return OpenOutcome::Stopped;
    QString source;  // the file, or the complete copy that an interrupted save kept
    if (!chooseAfterInterruptedSave(*name, source))
        return OpenOutcome::Stopped;
    DepositFileReader reader;
    QString failure;
    {
        BusyScope busy(m_platform.pointer);
        ProgressScope progress(m_platform.progress, tr("Opening %1").arg(fullPath(source)));
        reader.setProgressStep(
            [&progress](qint64 done, qint64 total) { return progress.advance(done, total); });
        if (!reader.readFile(source)) {
            if (reader.cancelled())
                return OpenOutcome::Stopped;  // as if Open had not been chosen
            failure = reader.errorString();
        } else if (!m_register.replaceDeposits(reader.takeRecords())) {
            failure = tr("There is not enough memory to read the file.");
        } else {
            // Read from the complete copy, the file is known as the torn file it is now.
            m_saveGuard.remember(*name,
                                 source == *name ? reader.fileIdentity() : SaveGuard::identityNow(*name));
            if (!m_lock.holds(*name))
                m_lock = std::move(lock);
            setTitleFile(*name);
            m_register.setCurrentCell(m_register.rows() - 1, Active);
            // Read from the copy, the register holds what the file does not yet.
            m_history.replaced(source != *name);
            const FileIdentity read = reader.fileIdentity();
            m_recovery.follow(read.contentHash ? RecoveryBase{source, read.size, *read.contentHash}
                                               : RecoveryBase());
        }
    }
    if (!failure.isEmpty()) {
        showFileError(tr("The Term Deposit file could not be opened. The register has not been changed."),
                      source, failure);
        return OpenOutcome::Stopped;
    }
    remindOfDueDeposits();
    m_recentFiles.add(*name);
    showRecentFiles();
    return OpenOutcome::Opened;
}

void frmTermDeposit::fileSave()
{
    if (saveDocument())
        m_history.saved();
}

void frmTermDeposit::fileSaveAs()
{
    const std::optional<QString> name = m_platform.files.saveFileName(fileDialogSettings());
    if (!name || name->trimmed().isEmpty())
        return;
    if (!isDepositFileName(*name)) {
        m_platform.messages.ask(tr("Term Deposit File Only"),
                                tr("This is not a Term Deposit file. Select a Term Deposit file."),
                                MessageIcon::Question, MessageButtons::YesNo);
        return;
    }
    if (isNameTaken(*name) &&
        m_platform.messages.ask(
            tr("Modify?"),
            tr("This Term Deposit file already exists. Replace existing Term Deposit by over writing it?"),
            MessageIcon::Question, MessageButtons::YesNo) != MessageButton::Yes)
        return;
    if (saveRefused(*name) || !confirmExactSave())
        return;
    nameDocument(*name);
    if (!SaveRegisterFile())
        return;
    m_history.saved();
}

void frmTermDeposit::fileExit()
{
    if (!SaveFirst())
        return;
    // The user has been asked; the closing step must not ask again.
    m_exiting = true;
    m_recovery.discard();
    m_lock.release();
    close();
    QCoreApplication::quit();
}

void frmTermDeposit::closeEvent(QCloseEvent* event)
{
    // The same question as SaveFirst; a save that fails or is cancelled keeps
    // the window open, so nothing is lost. Exit has asked already.
    if (m_exiting || SaveFirst()) {
        m_recovery.discard();
        m_lock.release();
        event->accept();
    } else
        event->ignore();
}

}  // namespace td
