#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include "commands/deposit_file_name.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

// A deposit file dragged from the file manager and dropped anywhere on the
// window opens as File > Open would. Only one local file whose name passes
// the extension test is taken; anything else is refused while it is dragged.
namespace td {

namespace {

std::optional<QString> draggedDepositFile(const QDropEvent& event)
{
    // Always a copy: taking a move would have the file manager delete the file.
    if (!(event.possibleActions() & Qt::CopyAction) || !event.mimeData()->hasUrls())
        return std::nullopt;
    const QList<QUrl> urls = event.mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return std::nullopt;
    const QString path = urls.first().toLocalFile();
    if (!isDepositFileName(path))
        return std::nullopt;
    return path;
}

}  // namespace

void frmTermDeposit::dragEnterEvent(QDragEnterEvent* event)
{
    if (draggedDepositFile(*event)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void frmTermDeposit::dropEvent(QDropEvent* event)
{
    const std::optional<QString> path = draggedDepositFile(*event);
    if (!path)
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // The drop is answered first, so the file manager is not kept waiting
    // while the save prompt or a message is up.
    QTimer::singleShot(0, this, [this, file = *path] { openFile(file); });
}

}  // namespace td
