#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include "storage/in_place_mark.h"

#include <QDir>
#include <QFileInfo>

// A deposit file on a shared folder can be open in two copies of the program,
// or changed by another program, while it is open here. A lock beside the
// file tells one copy of the other, and a save never replaces changes made
// elsewhere without asking.
namespace td {

namespace {

QString shownPath(const QString& name)
{
    return QDir::toNativeSeparators(QFileInfo(name).absoluteFilePath());
}

}  // namespace

// Locks the file about to be opened; when another running copy holds it, the
// user decides whether to open it here as well (without the lock).
bool frmTermDeposit::lockForOpening(DocumentLock& lock, const QString& name)
{
    if (lock.lock(name) != DocumentLock::Result::HeldElsewhere)
        return true;
    const DocumentLock::Holder holder = lock.holder();
    const QString where = holder.processId > 0
                              ? tr(" (process %1 on %2)").arg(holder.processId).arg(holder.hostName)
                              : QString();
    const QString text = tr("The Term Deposit file %1 is already open in another copy of the program%2.\n\n"
                            "Open it here as well?")
                             .arg(shownPath(name), where);
    return m_platform.messages.ask(tr("Term Deposit File In Use"), text, MessageIcon::Question,
                                   MessageButtons::YesNo) == MessageButton::Yes;
}

// A mark beside the file says that a save writing it in place has not
// finished, so the file may be torn. The user may open the complete copy that
// the save kept instead: the register is then the file's, unsaved, and the
// next save makes the file whole. False where nothing is to be opened.
bool frmTermDeposit::chooseAfterInterruptedSave(const QString& name, QString& readFrom)
{
    readFrom = name;
    const InPlaceMark mark = InPlaceMark::find(name);
    if (!mark.exists())
        return true;
    const QString file = shownPath(name);
    if (mark.writer == InPlaceMark::Writer::Running) {
        m_platform.messages.ask(
            tr("Term Deposit File In Use"),
            tr("The Term Deposit file %1 is being saved right now by another copy of the program "
               "(process %2 on %3).\n\nIt has not been opened, so as not to read it half-written. Open it "
               "again when that save has finished.")
                .arg(file)
                .arg(mark.processId)
                .arg(mark.hostName),
            MessageIcon::Information, MessageButtons::Ok);
        return false;
    }
    const QString damaged =
        mark.processId > 0
            ? tr("The Term Deposit file %1 may be damaged: a save by process %2 on %3 was writing it and has "
                 "not finished.")
                  .arg(file)
                  .arg(mark.processId)
                  .arg(mark.hostName)
            : tr("The Term Deposit file %1 may be damaged: a save was writing it and has not finished.")
                  .arg(file);
    if (mark.copyPath.isEmpty()) {
        const QString text = tr("%1\n\nThe complete copy that the save kept beside the file is missing.\n\n"
                                "Open the file as it is?")
                                 .arg(damaged);
        return m_platform.messages.ask(tr("Interrupted Save"), text, MessageIcon::Question,
                                       MessageButtons::YesNo) == MessageButton::Yes;
    }
    const QString text =
        tr("%1\n\nThe complete register of that save is kept in %2.\n\nOpen that complete copy instead? It "
           "opens under the name of the file, and saving it makes the file whole again. No opens the file "
           "as it is.")
            .arg(damaged, shownPath(mark.copyPath));
    if (m_platform.messages.ask(tr("Interrupted Save"), text, MessageIcon::Question, MessageButtons::YesNo) ==
        MessageButton::Yes)
        readFrom = mark.copyPath;
    return true;
}

// No ends the save as a cancel does. Yes lets the save replace the file as it
// was when asked: a change made while the question was open fails the save.
bool frmTermDeposit::confirmReplaceChangedFile()
{
    if (!m_saveGuard.changedOnDisk(m_fileName))
        return true;
    const FileIdentity asked = SaveGuard::identityNow(m_fileName);
    const QString text = tr("Another program has changed the Term Deposit file %1 since it was opened or "
                            "saved here.\n\nReplace it with this register? The other program's changes "
                            "will be lost.")
                             .arg(shownPath(m_fileName));
    if (m_platform.messages.ask(tr("Save File?"), text, MessageIcon::Question, MessageButtons::YesNo) !=
        MessageButton::Yes)
        return false;
    m_saveGuard.remember(m_fileName, asked);
    return true;
}

// The title, the lock and the change check always name one file: a Save As or
// a first save moves all three to the new name before it writes, so that they
// stay together where the write then fails. The lock is let go where the new
// name cannot have one.
void frmTermDeposit::nameDocument(const QString& name)
{
    setTitleFile(name);
    if (!m_lock.holds(name)) {
        DocumentLock lock;
        lock.lock(name);
        m_lock = std::move(lock);
    }
    m_saveGuard.follow(name);
}

// A lock that could not be had when the document was named is tried again;
// holding it, this copy may clear what interrupted saves left beside the file.
void frmTermDeposit::holdFileAfterSave()
{
    if (!m_lock.holds(m_fileName)) {
        DocumentLock lock;
        lock.lock(m_fileName);
        m_lock = std::move(lock);
    }
    if (m_lock.holds(m_fileName))
        m_saveGuard.removeLeftovers(m_fileName);
}

}  // namespace td
