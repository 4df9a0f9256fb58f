#include "app/widgets/image_button.h"
#include "app/widgets/register_grid.h"
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "app/windows/main_window_layout.h"
#include "support/main_window_world.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace td;
using namespace td::test;

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void startUpShowsMessageFirstThenEmptyUntitledRegister()
    {
        FakePlatform fake;
        frmTermDeposit w(fake.platform());
        w.flags().ModifiedFlag = true;
        w.flags().PrintAllFlag = true;
        w.flags().PrintActiveFlag = true;
        w.flags().PrintCancelledFlag = true;
        fake.pointer.current = Pointer::Hourglass;
        bool headerWrittenBeforeMessage = true;
        fake.messages.onAsk = [&](const RecordedMessage&) {
            headerWrittenBeforeMessage = !w.Grid().cell(0, 0).isEmpty();
        };
        w.startUp();

        QCOMPARE(fake.messages.asked.size(), 1);
        const RecordedMessage& m = fake.messages.asked.first();
        QCOMPARE(m.title, QStringLiteral("Quendarith Information Technology Term Deposit"));
        QVERIFY(m.text.contains(QStringLiteral("quendarith.example")));
        QCOMPARE(m.icon, MessageIcon::Information);
        QCOMPARE(m.buttons, MessageButtons::Ok);
        QVERIFY(!headerWrittenBeforeMessage);

        QCOMPARE(w.windowTitle(),
                 QStringLiteral("Quendarith Information Technology Term Deposit - Untitled"));
        QCOMPARE(w.Grid().rows(), 2);
        QCOMPARE(w.Grid().row(), 0);
        QCOMPARE(w.Grid().col(), 9);
        QVERIFY(!w.flags().ModifiedFlag);
        QVERIFY(!w.flags().PrintAllFlag);
        QVERIFY(!w.flags().PrintActiveFlag);
        QVERIFY(w.flags().PrintCancelledFlag);  // start-up leaves it alone
        QCOMPARE(fake.pointer.current, Pointer::Default);
    }

    void headerTextsAndColumnWidths()
    {
        FakePlatform fake;
        frmTermDeposit w(fake.platform());
        w.startUp();
        const QStringList headers = {"Account Number", "Save Each Month", "Interest",  "Years",
                                     "Months",         "Start Date",      "Term Date", "Account Balance",
                                     "Future Value",   "Active"};
        const QList<int> widthsTwips = {2500, 2000, 1200, 800, 800, 1500, 1500, 2000, 2000, 800};
        RegisterGrid* grid = w.gridView();
        for (int c = 0; c < 10; ++c) {
            QCOMPARE(w.Grid().cell(0, c), headers[c]);
            QCOMPARE(grid->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
            QCOMPARE(grid->columnWidth(c), widthsTwips[c] / 15);
        }
        QCOMPARE(grid->model()->rowCount(), 1);  // the spare row
        QCOMPARE(grid->objectName(), QStringLiteral("Grid"));
        QCOMPARE(grid->geometry(), QRect(12, 80, grid->width(), grid->height()));
    }

    // Each menu in order, "-" for a separator, every item with its shortcuts.
    void menusHaveCaptionsAndShortcuts()
    {
        FakePlatform fake;
        frmTermDeposit w(fake.platform());
        QStringList menus;
        for (QAction* menu : w.menuBar()->actions()) {
            QStringList items;
            for (QAction* a : menu->menu()->actions())
                items << (a->isSeparator()
                              ? "-"
                              : (a->text() + " " + QKeySequence::listToString(a->shortcuts())).trimmed());
            menus << menu->text() + ": " + items.join(", ");
        }
        QCOMPARE(
            menus,
            QStringList({
                "&File: &New, &Open Ctrl+O, Open &Recent, -, &Save Ctrl+S, Save &As Ctrl+A, &Export to "
                "CSV..., "
                "Export to CSV with Plain N&umbers..., -, &Print Ctrl+P, -, Pre&ferences..., -, E&xit",
                "&Term Deposit: &New Ctrl+N, &Edit Ctrl+E, &Delete Ctrl+D, &Search Ctrl+C, &Amortise Ctrl+M, "
                "-, &Maturities... Ctrl+T, &Interest by Year..., -, &Undo Ctrl+Z, &Redo Ctrl+Shift+Z; Ctrl+Y",
                "&Help: &About",
            }));
    }

    // No two commands of a menu share an access key, and no two commands of
    // the window share a shortcut.
    void accessKeysAndShortcutsAreTakenOnce()
    {
        FakePlatform fake;
        frmTermDeposit w(fake.platform());
        QStringList shortcuts;
        for (QAction* menu : w.menuBar()->actions()) {
            QStringList keys;
            for (QAction* a : menu->menu()->actions()) {
                if (a->isSeparator())
                    continue;
                const QString key = QKeySequence::mnemonic(a->text()).toString();
                QVERIFY2(!key.isEmpty() && !keys.contains(key), qPrintable(a->text()));
                keys << key;
                for (const QKeySequence& shortcut : a->shortcuts()) {
                    QVERIFY2(!shortcuts.contains(shortcut.toString()), qPrintable(a->text()));
                    shortcuts << shortcut.toString();
                }
            }
        }
    }

    // An index of mnuFileItem, mnuGridItem or mnuHelpItem triggers the named
    // action of the item with that caption; a separator or an unknown index none.
    void indexedClickHandlersTriggerTheirActions_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("caption");
        const QStringList file = {"&New", "&Open", "", "&Save", "Save &As", "", "&Print", "", "E&xit", ""};
        for (int i = -1; i < file.size(); ++i)
            QTest::addRow("file %d", i) << "file" << i << file.value(i);
        const QStringList grid = {"&New", "&Edit", "&Delete", "&Search", "&Amortise", ""};
        for (int i = 0; i < grid.size(); ++i)
            QTest::addRow("grid %d", i) << "grid" << i << grid[i];
        QTest::newRow("help 0") << "help" << 0 << "&About";
        QTest::newRow("help 1") << "help" << 1 << "";
    }
    void indexedClickHandlersTriggerTheirActions()
    {
        QFETCH(QString, menu);
        QFETCH(int, index);
        QFETCH(QString, caption);
        FakePlatform fake;
        frmTermDeposit w(fake.platform());
        w.startUp();
        const frmTermDeposit::MenuActions& a = w.actions();
        QStringList triggered;
        for (QAction* action :
             {a.fileNew, a.fileOpen, a.fileSave, a.fileSaveAs, a.filePrint, a.fileExit, a.newTermDeposit,
              a.editTermDeposit, a.deleteTermDeposit, a.search, a.amortise, a.about})
            connect(action, &QAction::triggered, this, [&triggered, action] { triggered << action->text(); });
        if (menu == "file")
            w.mnuFileItem_Click(index);
        else if (menu == "grid")
            w.mnuGridItem_Click(index);
        else
            w.mnuHelpItem_Click(index);
        QCOMPARE(triggered, caption.isEmpty() ? QStringList() : QStringList({caption}));
    }

    void shortcutsReachTheMenusFromTheGrid_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("action");
        // Ctrl+C and Ctrl+A are also the grid's own copy and select-all keys.
        QTest::newRow("search") << int(Qt::Key_C) << "mnuGridItem_3";
        QTest::newRow("save as") << int(Qt::Key_A) << "mnuFileItem_4";
        QTest::newRow("new") << int(Qt::Key_N) << "mnuGridItem_0";
        QTest::newRow("amortise") << int(Qt::Key_M) << "mnuGridItem_4";
    }
    void shortcutsReachTheMenusFromTheGrid()
    {
        QFETCH(int, key);
        QFETCH(QString, action);
        MainWindowWorld shown(plainDeposits(2));
        QVERIFY(shown.show());
        frmTermDeposit& w = shown.w;
        w.gridView()->setFocus();
        QVERIFY(w.Grid().setCurrentCell(1, 0));
        QSignalSpy triggered(w.findChild<QAction*>(action), &QAction::triggered);
        QTest::keyClick(w.gridView(), Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(triggered.count(), 1);
    }

    void resizeRule_data()
    {
        QTest::addColumn<QSize>("outer");
        QTest::addColumn<QSize>("grid");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("design size") << QSize(9240, 6500) << QSize(8595, 4275) << QSize(8440, 4300);
        QTest::newRow("height 3000 keeps") << QSize(9000, 3000) << QSize(8595, 4275) << QSize(8200, 4275);
        QTest::newRow("height 3015 sets") << QSize(9000, 3015) << QSize(8595, 4275) << QSize(8200, 815);
        QTest::newRow("narrow never negative") << QSize(600, 5000) << QSize(8595, 4275) << QSize(0, 2800);
    }
    void resizeRule()
    {
        QFETCH(QSize, outer);
        QFETCH(QSize, grid);
        QFETCH(QSize, expected);
        QCOMPARE(gridSizeAfterResize(outer, grid), expected);
    }

    void windowResizeLaysOutGrid()
    {
        FakePlatform fake;
        frmTermDeposit w(fake.platform());
        w.startUp();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.resize(900, 700);
        QTest::qWait(0);
        const QSize outer = w.frameGeometry().size();
        QCOMPARE(w.gridView()->width(), (outer.width() * 15 - 800) / 15);
        QCOMPARE(w.gridView()->height(), (outer.height() * 15 - 2200) / 15);
        const int tallHeight = w.gridView()->height();
        w.resize(900, 190);  // 2850 twips: too short, the grid keeps its height
        QTest::qWait(0);
        QCOMPARE(w.gridView()->height(), tallHeight);
        QCOMPARE(w.gridView()->pos(), QPoint(12, 80));
    }

    void clickingACellMovesTheCurrentCellAndBack()
    {
        MainWindowWorld shown(plainDeposits(3));
        QVERIFY(shown.show());
        frmTermDeposit& w = shown.w;
        RegisterGrid* grid = w.gridView();
        const QRect cell = grid->visualRect(grid->model()->index(1, 2));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(w.Grid().row(), 2);
        QCOMPARE(w.Grid().col(), 2);

        // A click on the frozen key column picks its key, also when scrolled sideways.
        grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(2, 0)).center());
        QCOMPARE(w.Grid().row(), 3);
        QCOMPARE(w.Grid().col(), 0);

        QVERIFY(w.Grid().setCurrentCell(1, 7));
        QCOMPARE(grid->currentIndex(), grid->model()->index(0, 7));
        QVERIFY(w.Grid().setRow(0));
        QVERIFY(!grid->currentIndex().isValid());
    }

    void focusAloneDoesNotMoveTheCurrentCell()
    {
        MainWindowWorld shown(plainDeposits(2));
        QVERIFY(shown.show());
        frmTermDeposit& w = shown.w;
        w.gridView()->clearFocus();
        w.gridView()->setFocus(Qt::TabFocusReason);
        QCOMPARE(w.Grid().row(), 0);
        QCOMPARE(w.Grid().col(), 9);
    }

    void rowChangesLeaveTheCurrentCellToTheRegister()
    {
        MainWindowWorld shown(plainDeposits(4));
        QVERIFY(shown.show());
        frmTermDeposit& w = shown.w;
        QVERIFY(w.Grid().setCurrentCell(2, 5));
        QVERIFY(w.Grid().removeDeposit(2));
        QCOMPARE(w.Grid().row(), 2);
        QCOMPARE(w.Grid().text(), QStringLiteral("01/01/2024"));
        QCOMPARE(w.gridView()->currentIndex(), w.gridView()->model()->index(1, 5));
        QVERIFY(w.Grid().setRows(w.Grid().rows() + 1));
        QCOMPARE(w.Grid().row(), 2);
        QVERIFY(w.Grid().replaceDeposits(RecordBlock()));
        QCOMPARE(w.Grid().row(), 1);
        QCOMPARE(w.gridView()->currentIndex(), w.gridView()->model()->index(0, 5));
    }

    void keyColumnStaysWhenScrolledSideways()
    {
        MainWindowWorld shown(plainDeposits(2));
        QVERIFY(shown.show());
        frmTermDeposit& w = shown.w;
        RegisterGrid* grid = w.gridView();
        grid->scrollTo(grid->model()->index(0, 9));
        QVERIFY(grid->horizontalScrollBar()->value() > 0);
        const QRect key = grid->visualRect(grid->model()->index(1, 0));
        QCOMPARE(key.left(), 0);
        QCOMPARE(key.width() + 1, 2500 / 15);  // and its grid line
        QCOMPARE(grid->indexAt(key.center()), grid->model()->index(1, 0));
        // Moving left brings a column out from under the key column.
        grid->setFocus();
        QVERIFY(w.Grid().setCurrentCell(1, 2));
        QVERIFY(grid->visualRect(grid->currentIndex()).left() >= 2500 / 15);
        QTest::keyClick(grid, Qt::Key_Left);
        QCOMPARE(w.Grid().col(), 1);
        QCOMPARE(grid->visualRect(grid->currentIndex()).left(), 2500 / 15);
    }

    // Register cells as (column, row); row 31 is the spare row below 30 deposits.
    void keysMoveTheCurrentCell_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::newRow("down") << int(Qt::Key_Down) << 0 << QPoint(3, 2) << QPoint(3, 3);
        QTest::newRow("up stops below the header") << int(Qt::Key_Up) << 0 << QPoint(3, 1) << QPoint(3, 1);
        QTest::newRow("right stops at the edge") << int(Qt::Key_Right) << 0 << QPoint(9, 2) << QPoint(9, 2);
        QTest::newRow("home") << int(Qt::Key_Home) << 0 << QPoint(5, 2) << QPoint(0, 2);
        QTest::newRow("ctrl+home") << int(Qt::Key_Home) << int(Qt::ControlModifier) << QPoint(5, 5)
                                   << QPoint(0, 1);
        QTest::newRow("ctrl+end") << int(Qt::Key_End) << int(Qt::ControlModifier) << QPoint(5, 2)
                                  << QPoint(9, 31);
        QTest::newRow("tab wraps to the next row") << int(Qt::Key_Tab) << 0 << QPoint(9, 2) << QPoint(0, 3);
        QTest::newRow("tab wraps to the top") << int(Qt::Key_Tab) << 0 << QPoint(9, 31) << QPoint(0, 1);
        QTest::newRow("backtab wraps back")
            << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << QPoint(0, 3) << QPoint(9, 2);
        // Row -1: one page of whole rows on, as many as the grid shows.
        QTest::newRow("page down") << int(Qt::Key_PageDown) << 0 << QPoint(4, 1) << QPoint(4, -1);
        QTest::newRow("page down stops at the end")
            << int(Qt::Key_PageDown) << 0 << QPoint(4, 30) << QPoint(4, 31);
    }
    void keysMoveTheCurrentCell()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        MainWindowWorld shown(plainDeposits(30));
        QVERIFY(shown.show());
        RegisterGrid* grid = shown.w.gridView();
        grid->setFocus();
        QVERIFY(shown.w.Grid().setCurrentCell(from.y(), from.x()));
        if (to.y() < 0)
            to.setY(from.y() + grid->viewport()->height() / grid->rowHeight());
        QTest::keyClick(grid, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(QPoint(shown.w.Grid().col(), shown.w.Grid().row()), to);
        const QRect shownCell = grid->visualRect(grid->currentIndex());
        QVERIFY(grid->viewport()->rect().contains(shownCell.center()));
        QCOMPARE(QApplication::focusWidget(), grid);
    }

    void pictureButtonsShowPressedImageAndRunOnRelease_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::newRow("new") << 0 << "PicNew";
        QTest::newRow("edit") << 1 << "PicEdit";
        QTest::newRow("delete") << 2 << "PicDelete";
        QTest::newRow("search") << 3 << "PicSearch";
        QTest::newRow("amortise") << 4 << "PicAmortise";
    }
    void pictureButtonsShowPressedImageAndRunOnRelease()
    {
        QFETCH(int, index);
        QFETCH(QString, name);
        FakePlatform fake;
        frmTermDeposit w(fake.platform());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        ImageButton* button = w.pictureButton(index);
        QCOMPARE(button->upPicture()->objectName(), name + "Up");
        QCOMPARE(button->downPicture()->objectName(), name + "Down");
        QCOMPARE(button->pos(), QPoint((3720 + 1080 * index) / 15, 1));
        int activations = 0;
        connect(button, &ImageButton::activated, this, [&] {
            QVERIFY(button->upPicture()->isVisible());  // looks released before the command runs
            ++activations;
        });
        QTest::mousePress(button, Qt::RightButton, {}, QPoint(10, 10));
        QVERIFY(!button->upPicture()->isVisible());
        QVERIFY(button->downPicture()->isVisible());
        QVERIFY(!button->downPicture()->pixmap().isNull());
        QTest::mouseRelease(button, Qt::RightButton, {}, QPoint(500, 300));  // released off the button
        QCOMPARE(activations, 1);
        QVERIFY(button->upPicture()->isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
