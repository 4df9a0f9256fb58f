#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include <QAction>
#include <QDir>
#include <QMenuBar>
#include <span>

// The menu bar: one table per menu, one row per item. Each command is a
// named action (actions()); the indexed click handlers map an item's index to
// its action. To add a command: a field in MenuActions, a row here, and the
// method it runs.
namespace td {

namespace {

using A = frmTermDeposit::MenuActions;
using Command = void (frmTermDeposit::*)();

// An item that came after the indexed menus: it has an action, no index.
constexpr int kNoIndex = -1;

struct MenuItem {
    int index;            // the item's index in its menu's click handler, or kNoIndex
    QAction* A::*action;  // nullptr: a separator
    const char* caption;
    QKeySequence shortcut;
    Command command;
};

QKeySequence ctrl(Qt::Key key) { return QKeySequence(Qt::CTRL | key); }

}  // namespace

void frmTermDeposit::buildMenus()
{
    const MenuItem fileMenu[] = {
        {0, &A::fileNew, QT_TR_NOOP("&New"), {}, &frmTermDeposit::fileNew},
        {1, &A::fileOpen, QT_TR_NOOP("&Open"), ctrl(Qt::Key_O), &frmTermDeposit::fileOpen},
        {2, nullptr, nullptr, {}, nullptr},
        {3, &A::fileSave, QT_TR_NOOP("&Save"), ctrl(Qt::Key_S), &frmTermDeposit::fileSave},
        {4, &A::fileSaveAs, QT_TR_NOOP("Save &As"), ctrl(Qt::Key_A), &frmTermDeposit::fileSaveAs},
        // The register out to a spreadsheet, as shown or with plain numbers.
        {kNoIndex, &A::fileExportCsv, QT_TR_NOOP("&Export to CSV..."), {}, &frmTermDeposit::fileExportCsv},
        {kNoIndex,
         &A::fileExportCsvNumbers,
         QT_TR_NOOP("Export to CSV with Plain N&umbers..."),
         {},
         &frmTermDeposit::fileExportCsvNumbers},
        {5, nullptr, nullptr, {}, nullptr},
        {6, &A::filePrint, QT_TR_NOOP("&Print"), ctrl(Qt::Key_P), &frmTermDeposit::filePrint},
        // Where a program without a Tools or Edit menu keeps its settings, under
        // a letter no other File command takes.
        {kNoIndex, nullptr, nullptr, {}, nullptr},
        {kNoIndex, &A::filePreferences, QT_TR_NOOP("Pre&ferences..."), {}, &frmTermDeposit::EditPreferences},
        {7, nullptr, nullptr, {}, nullptr},
        {8, &A::fileExit, QT_TR_NOOP("E&xit"), {}, &frmTermDeposit::fileExit},
    };
    const MenuItem gridMenu[] = {
        {0, &A::newTermDeposit, QT_TR_NOOP("&New"), ctrl(Qt::Key_N), &frmTermDeposit::NewTermDeposit},
        {1, &A::editTermDeposit, QT_TR_NOOP("&Edit"), ctrl(Qt::Key_E), &frmTermDeposit::EditTermDeposit},
        {2, &A::deleteTermDeposit, QT_TR_NOOP("&Delete"), ctrl(Qt::Key_D),
         &frmTermDeposit::DeleteTermDeposit},
        {3, &A::search, QT_TR_NOOP("&Search"), ctrl(Qt::Key_C), &frmTermDeposit::Search},
        {4, &A::amortise, QT_TR_NOOP("&Amortise"), ctrl(Qt::Key_M), &frmTermDeposit::Amortise},
        {kNoIndex, nullptr, nullptr, {}, nullptr},
        // Ctrl+M is Amortise's; T for maturi-T-ies is taken by no command.
        {kNoIndex, &A::maturities, QT_TR_NOOP("&Maturities..."), ctrl(Qt::Key_T),
         &frmTermDeposit::Maturities},
        {kNoIndex,
         &A::interestByYear,
         QT_TR_NOOP("&Interest by Year..."),
         {},
         &frmTermDeposit::InterestByYear},
        {kNoIndex, nullptr, nullptr, {}, nullptr},
        // Their captions name the change they undo or redo (followUndoStack).
        {kNoIndex, &A::undo, QT_TR_NOOP("&Undo"), ctrl(Qt::Key_Z), &frmTermDeposit::UndoChange},
        {kNoIndex, &A::redo, QT_TR_NOOP("&Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
         &frmTermDeposit::RedoChange},
    };
    const MenuItem helpMenu[] = {
        {0, &A::about, QT_TR_NOOP("&About"), {}, &frmTermDeposit::About},
    };

    auto addMenu = [this](const char* name, const QString& caption, const char* itemName,
                          std::span<const MenuItem> items, QList<QAction*>& indexed) {
        QMenu* menu = menuBar()->addMenu(caption);
        menu->setObjectName(QString::fromLatin1(name));
        for (const MenuItem& item : items) {
            QAction* action = item.action ? menu->addAction(tr(item.caption)) : menu->addSeparator();
            if (item.action) {
                m_actions.*item.action = action;
                action->setShortcut(item.shortcut);
                connect(action, &QAction::triggered, this, item.command);
            }
            if (item.index != kNoIndex) {
                action->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(itemName)).arg(item.index));
                indexed.resize(qMax(indexed.size(), qsizetype(item.index) + 1));
                indexed[item.index] = action;
            }
        }
        return menu;
    };
    buildRecentFilesMenu(addMenu("mnuFile", tr("&File"), "mnuFileItem", fileMenu, m_fileItems));
    addMenu("mnuGrid", tr("&Term Deposit"), "mnuGridItem", gridMenu, m_gridItems);
    addMenu("mnuHelp", tr("&Help"), "mnuHelpItem", helpMenu, m_helpItems);
    // Redo also takes Ctrl+Y, as on most desktops.
    m_actions.redo->setShortcuts({m_actions.redo->shortcut(), ctrl(Qt::Key_Y)});
    followUndoStack();
}

// File > Open Recent, right after Open: one item for each place in the list,
// shown while a file holds it, and one disabled item while none does. The
// items are kept, not made anew, so one may run a command that changes the
// list. The list is read again as the menu opens, for files another running
// copy added.
void frmTermDeposit::buildRecentFilesMenu(QMenu* fileMenu)
{
    m_recentMenu = new QMenu(tr("Open &Recent"), fileMenu);
    m_recentMenu->setObjectName(QStringLiteral("mnuFileOpenRecent"));
    fileMenu->insertMenu(fileItem(2), m_recentMenu);
    m_noRecentFiles = m_recentMenu->addAction(tr("No Recent Files"));
    m_noRecentFiles->setEnabled(false);
    for (int n = 0; n < RecentFiles::kMaxFiles; ++n) {
        QAction* item = m_recentMenu->addAction(QString());
        connect(item, &QAction::triggered, this, [this, item] { openRecentFile(item->data().toString()); });
        m_recentItems.append(item);
    }
    connect(m_recentMenu, &QMenu::aboutToShow, this, &frmTermDeposit::showRecentFiles);
    showRecentFiles();
}

void frmTermDeposit::showRecentFiles()
{
    const QStringList files = m_recentFiles.files();
    m_noRecentFiles->setVisible(files.isEmpty());
    for (int n = 0; n < m_recentItems.size(); ++n) {
        QAction* item = m_recentItems[n];
        const QString file = files.value(n);
        item->setVisible(!file.isEmpty());
        item->setData(file);
        // A "&" in a path is a character of it, not an access key.
        QString shown = QDir::toNativeSeparators(file);
        shown.replace(QLatin1Char('&'), QLatin1String("&&"));
        item->setText(tr("&%1 %2").arg(n + 1).arg(shown));
    }
}

// Undo and Redo name the change they would make, and are disabled while there is none.
void frmTermDeposit::followUndoStack()
{
    auto follow = [this] {
        const QUndoStack& stack = m_history.stack();
        auto show = [](QAction* action, bool enabled, const QString& verb, const QString& change) {
            action->setEnabled(enabled);
            action->setText(change.isEmpty() ? verb : tr("%1 %2").arg(verb, change));
        };
        show(m_actions.undo, stack.canUndo(), tr("&Undo"), stack.undoText());
        show(m_actions.redo, stack.canRedo(), tr("&Redo"), stack.redoText());
    };
    QUndoStack* stack = &m_history.stack();
    connect(stack, &QUndoStack::indexChanged, this, follow);
    connect(stack, &QUndoStack::canUndoChanged, this, follow);
    connect(stack, &QUndoStack::canRedoChanged, this, follow);
    follow();
}

// An index without an item does nothing; a separator's action has no command.
void frmTermDeposit::mnuFileItem_Click(int index)
{
    if (QAction* action = fileItem(index))
        action->trigger();
}

void frmTermDeposit::mnuGridItem_Click(int index)
{
    if (QAction* action = gridItem(index))
        action->trigger();
}

void frmTermDeposit::mnuHelpItem_Click(int index)
{
    if (QAction* action = helpItem(index))
        action->trigger();
}

}  // namespace td
