#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

// Recovery after a crash. While the register holds unsaved changes,
// RecoveryKeeper keeps a copy of it in the user's state folder; a copy of the
// program that ends without saving or giving up its changes (killed, crashed,
// the power cut) leaves that copy behind, and the next start offers it.
namespace td {

namespace {

QString shownPath(const QString& name)
{
    return QDir::toNativeSeparators(QFileInfo(name).absoluteFilePath());
}

bool sameFile(const QString& a, const QString& b)
{
    const QFileInfo x(a), y(b);
    const QString cx = x.canonicalFilePath(), cy = y.canonicalFilePath();
    return !cx.isEmpty() ? cx == cy : x.absoluteFilePath() == y.absoluteFilePath();
}

}  // namespace

void frmTermDeposit::setRecoveryFolder(const QString& folder) { m_recovery.setFolder(folder); }

void frmTermDeposit::watchRecovery()
{
    connect(&m_recovery, &RecoveryKeeper::copyWritten, this, [this] { m_recoveryFailureTold = false; });
    connect(&m_recovery, &RecoveryKeeper::copyFailed, this, &frmTermDeposit::tellRecoveryCopyFailed);
}

// Told once until a copy is written again, and never over a dialog that the
// user is working in: the next failure tells it then.
void frmTermDeposit::tellRecoveryCopyFailed(const QString& reason)
{
    if (m_recoveryFailureTold || QApplication::activeModalWidget())
        return;
    m_recoveryFailureTold = true;
    m_platform.messages.ask(tr("Recovery Copy"),
                            tr("The unsaved changes cannot be kept in a recovery copy: %1\n\nIf the program "
                               "ends before they are saved, they are lost. Save the register to keep them.")
                                .arg(reason),
                            MessageIcon::Information, MessageButtons::Ok);
}

void frmTermDeposit::finishStartUp(const QString& fileToOpen)
{
    const std::optional<QString> recovered = offerRecovery();
    // The recovered register is that file with its changes: opening it again
    // would only offer to save them and then show the older file instead.
    if (fileToOpen.isEmpty() || (recovered && sameFile(*recovered, fileToOpen)))
        return;
    openFile(fileToOpen);
}

std::optional<QString> frmTermDeposit::offerRecovery()
{
    // Newest first; once one is recovered, the rest wait for a later start.
    std::vector<RecoveryFolder::LeftCopy> left = m_recovery.leftCopies();
    for (RecoveryFolder::LeftCopy& found : left) {
        QString error;
        const std::optional<RecoveryCopy> copy = RecoveryCopy::read(found.path, error);
        if (!copy) {
            tellUnreadableRecoveryCopy(found, error);
            continue;
        }
        const QDateTime written = copy->written.toLocalTime();
        const QString text =
            tr("The changes to %1 were not saved when the program last ended. A recovery copy of them was "
               "written on %2 at %3.\n\nRecover the changes? Yes shows the register as it was then, with the "
               "changes still unsaved; the file itself is not changed until you save. No deletes the "
               "recovery copy.")
                .arg(copy->document.isEmpty() ? tr("Untitled") : shownPath(copy->document),
                     m_platform.dateForm.format(written.date()),
                     QLocale().toString(written.time(), QLocale::ShortFormat));
        if (m_platform.messages.ask(tr("Recover Changes?"), text, MessageIcon::Question,
                                    MessageButtons::YesNo) != MessageButton::Yes) {
            RecoveryFolder::remove(found);
            continue;
        }
        switch (restoreRecoveryCopy(*copy, found)) {
        case Rebuilt::Done:
            return copy->document;
        case Rebuilt::Cancelled:
            return std::nullopt;  // the copy stays for the next start
        case Rebuilt::Failed:
            break;
        }
    }
    return std::nullopt;
}

Rebuilt frmTermDeposit::restoreRecoveryCopy(const RecoveryCopy& copy, RecoveryFolder::LeftCopy& left)
{
    RecoveredRows rows;
    QString error;
    Rebuilt rebuilt = Rebuilt::Failed;
    {
        BusyScope busy(m_platform.pointer);
        ProgressScope progress(m_platform.progress, tr("Recovering the changes"));
        rebuilt =
            rebuildRecoveredRows(copy, copy.base.path, rows, error, [&progress](qint64 done, qint64 total) {
                return progress.advance(done, total);
            });
        if (rebuilt == Rebuilt::Done && !m_register.replaceDeposits(std::move(rows.records))) {
            rebuilt = Rebuilt::Failed;
            error = tr("There is not enough memory to read it.");
        }
    }
    if (rebuilt == Rebuilt::Failed)
        tellUnreadableRecoveryCopy(left, error);
    if (rebuilt != Rebuilt::Done)
        return rebuilt;
    for (const auto& [index, texts] : rows.texts) {
        for (int c = 0; c < ColumnCount; ++c)
            m_register.setCell(int(index + 1), c, texts[c]);
    }
    if (copy.document.isEmpty()) {
        m_lock.release();
        m_saveGuard.forget();
        setUntitled();
    } else {
        // The title, the lock and the change check name the file. A save
        // replaces it without a question only while it still holds what the
        // ended copy of the program read or wrote there.
        nameDocument(copy.document);
        if (copy.base.exists() && sameFile(copy.base.path, copy.document)) {
            FileIdentity known = rows.baseIdentity;
            if (!known.contentHash && !fileHolds(copy.document, copy.base, known)) {
                known = FileIdentity();  // not the file it was: a save asks first
                known.exists = true;
            }
            m_saveGuard.remember(copy.document, known);
        }
    }
    m_register.setCurrentCell(m_register.rows() - 1, Active);
    m_history.replaced(true);  // nothing to undo; unsaved
    m_recovery.adopt(copy, left, error);
    return Rebuilt::Done;
}

void frmTermDeposit::tellUnreadableRecoveryCopy(RecoveryFolder::LeftCopy& left, const QString& reason)
{
    const QDateTime modified = left.modified.toLocalTime();
    const QString when = tr("%1 at %2")
                             .arg(m_platform.dateForm.format(modified.date()),
                                  QLocale().toString(modified.time(), QLocale::ShortFormat));
    QString error;
    const QString keptAs = RecoveryFolder::setAside(left, error);
    const QString fate =
        keptAs.isEmpty()
            ? tr("It could not be set aside (%1) and stays as %2.").arg(error, shownPath(left.path))
            : tr("It has not been deleted: it is kept as %1.").arg(shownPath(keptAs));
    m_platform.messages.ask(tr("Recovery Copy Unreadable"),
                            tr("A recovery copy of unsaved changes, written on %1, cannot be read: %2\n\n%3")
                                .arg(when, reason, fate),
                            MessageIcon::Information, MessageButtons::Ok);
}

}  // namespace td
