#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include <QAction>
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
    };
    addMenu("mnuFile", tr("&File"), "mnuFileItem", fileMenu, m_fileItems);
    addMenu("mnuGrid", tr("&Term Deposit"), "mnuGridItem", gridMenu, m_gridItems);
    addMenu("mnuHelp", tr("&Help"), "mnuHelpItem", helpMenu, m_helpItems);
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
