// Every window as assistive technology reads it, in process through
// QAccessible: roles, names and shown values, the picture buttons' press,
// the derived values and switch captions, and one grid.
#include "app/widgets/bar_chart_view.h"
#include "app/widgets/image_button.h"
#include "app/widgets/maturity_ladder_view.h"
#include "app/widgets/register_grid.h"
#include "app/widgets/ruled_text_box.h"
#include "app/windows/frm_interest_by_year.h"
#include "app/windows/frm_maturities.h"
#include "app/windows/frm_term_deposit_details.h"
#include "commands/maturities.h"
#include "support/accessibility_walk.h"
#include "support/data_rows.h"
#include "support/deposit_file_world.h"
#include "support/preferences_scope.h"
#include "support/test_settings.h"

#include <QAccessible>
#include <QHeaderView>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <functional>

using namespace td;
using namespace td::test;

namespace {

QAccessibleInterface* accessible(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

using Command = std::function<void(frmTermDeposit&)>;

}  // namespace

Q_DECLARE_METATYPE(Command)

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { startWithNoSettingsFile(); }

    void everyWindowReadsAsItLooks_data()
    {
        QTest::addColumn<Command>("open");  // none: the main window itself
        dataRow("frmTermDeposit", Command());
        dataRow("frmTermDepositDetails", Command([](frmTermDeposit& w) { w.EditTermDeposit(); }));
        dataRow("frmAmortise", Command([](frmTermDeposit& w) { w.Amortise(); }));
        dataRow("frmSearch", Command([](frmTermDeposit& w) { w.Search(); }));
        dataRow("frmPrint", Command([](frmTermDeposit& w) { w.mnuFileItem_Click(6); }));
        dataRow("frmAbout", Command([](frmTermDeposit& w) { w.About(); }));
        dataRow("frmPreferences", Command([](frmTermDeposit& w) { w.EditPreferences(); }));
    }
    void everyWindowReadsAsItLooks()
    {
        QFETCH(Command, open);
        FileWorld world;
        world.addDeposits(2);
        world.window.Grid().setCurrentCell(1, 0);
        world.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&world.window));
        QStringList problems;
        if (!open) {
            // Its menus as they read with a recent file and a change to undo.
            world.addDeposits(1, QStringLiteral("GONE"));
            world.runWithFile(3, QStringLiteral("recent.tmd"));
            world.window.history().deleteDeposit(world.window.Grid().rows() - 2);
            problems = accessibilityProblems(world.window);
        } else {
            // Each window as the command shows it, filled as the user meets it.
            world.fake.modal.handlers.push_back([&problems](QDialog& dialog) {
                problems = accessibilityProblems(dialog);
                dialog.reject();
            });
            open(world.window);
            QCOMPARE(world.fake.modal.shown.size(), 1);
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    // The maturities window stays open beside the main window: its columns,
    // the tax ones too, and on its second page the ladder's table and chart.
    void theMaturitiesWindowReadsAsItLooks()
    {
        FileWorld world;
        world.addDeposits(2);
        const ScopedPreferences taxed({.taxShareHundredthsOfPercent = 1050});
        world.window.show();
        world.window.Maturities();
        frmMaturities* maturities = world.window.maturitiesWindow();
        QVERIFY(maturities);
        QVERIFY(QTest::qWaitForWindowExposed(maturities));
        QCOMPARE(maturities->GridMaturities()->model()->columnCount(), int(maturities::ColumnCount));
        QStringList problems = accessibilityProblems(*maturities);
        maturities->tabMaturities()->setCurrentIndex(1);
        problems += accessibilityProblems(*maturities);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        QCOMPARE(accessible(maturities->ladderView()->chtLadder())->role(), QAccessible::Chart);
        QCOMPARE(accessible(maturities)->text(QAccessible::Name), maturities->windowTitle());
    }

    // So is the interest by year, its chart named and described for a reader.
    void theInterestByYearWindowReadsAsItLooks()
    {
        FileWorld world;
        world.addDeposits(2);
        world.window.show();
        world.window.InterestByYear();
        frmInterestByYear* years = world.window.interestByYearWindow();
        QVERIFY(years);
        QVERIFY(QTest::qWaitForWindowExposed(years));
        const QStringList problems = accessibilityProblems(*years);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        QCOMPARE(accessible(years)->text(QAccessible::Name), years->windowTitle());
        QAccessibleInterface* chart = accessible(years->chartInterest());
        QCOMPARE(chart->text(QAccessible::Name), QStringLiteral("Interest earned a year, as a bar chart"));
        QCOMPARE(chart->text(QAccessible::Description),
                 QStringLiteral("The table under the chart holds the same figures."));
    }

    // What the dialog derives is read as its caption and value, and a switch
    // as what it switches and its caption. (That changes are heard is seen
    // from outside, through AT-SPI, in the end-to-end suite.)
    void derivedValuesAndCaptionsAreReadAndHeard()
    {
        FileWorld world;
        frmTermDepositDetails d(world.fake.platform(), world.window.history());
        d.txtAccountBalance()->setText(QStringLiteral("$10,000.00"));
        d.txtInterest()->setText(QStringLiteral("5.5"));
        d.txtTermYears()->setText(QStringLiteral("2"));

        QAccessibleInterface* futureValue = accessible(d.lblFutureValue());
        QCOMPARE(futureValue->text(QAccessible::Name), QStringLiteral("Future Value"));
        QCOMPARE(futureValue->text(QAccessible::Value), QStringLiteral("$11,159.98"));
        QAccessibleInterface* termDate = accessible(d.lblTermDate());
        QCOMPARE(termDate->text(QAccessible::Name), QStringLiteral("Term Date"));
        QCOMPARE(termDate->text(QAccessible::Value), QStringLiteral("31/01/2026"));

        QAccessibleInterface* onOff = accessible(d.ckSaveMonthOnOff());
        QCOMPARE(onOff->role(), QAccessible::CheckBox);
        QCOMPARE(onOff->text(QAccessible::Value), QStringLiteral("Off"));
        onOff->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(d.ckSaveMonthOnOff()->isChecked());
        QVERIFY(d.txtSaveEachMonth()->isEnabled());
        QCOMPARE(onOff->text(QAccessible::Value), QStringLiteral("On"));
        QCOMPARE(onOff->textInterface()->text(0, -1), QStringLiteral("On"));
        QVERIFY(onOff->state().checked);
    }

    // The press of assistive technology runs the command exactly as a click:
    // the same dialogs and messages, in the same order.
    void pictureButtonsArePushButtonsThatPressAsAClick_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("caption");
        dataRow("New", 0, "New");
        dataRow("Edit", 1, "Edit");
        dataRow("Delete", 2, "Delete");
        dataRow("Search", 3, "Search");
        dataRow("Amortise", 4, "Amortise");
    }
    void pictureButtonsArePushButtonsThatPressAsAClick()
    {
        QFETCH(int, index);
        QFETCH(QString, caption);
        auto run = [index](bool byAssistiveTechnology) {
            FileWorld world;
            world.addDeposits(2);
            world.window.Grid().setCurrentCell(1, 0);
            world.fake.modal.handlers.push_back([](QDialog& dialog) { dialog.reject(); });
            ImageButton* button = world.window.pictureButton(index);
            if (byAssistiveTechnology)
                accessible(button)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            else
                QTest::mouseClick(button, Qt::LeftButton);
            return world.fake.modal.shown + world.titlesAsked();
        };
        FileWorld world;
        QAccessibleInterface* iface = accessible(world.window.pictureButton(index));
        QCOMPARE(iface->role(), QAccessible::Button);
        QCOMPARE(iface->text(QAccessible::Name), caption);
        QCOMPARE(iface->childCount(), 0);
        QVERIFY(iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));

        const QStringList clicked = run(false);
        QVERIFY(!clicked.isEmpty());
        QCOMPARE(run(true), clicked);
    }

    // The grid is one table: its header widget is no second one, its key
    // cells lie where they are drawn when scrolled sideways, every cell gives
    // its column header, and moving the current cell moves the reader's focus.
    void theGridReadsAsOneTable()
    {
        FileWorld world;
        world.addDeposits(3);
        world.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&world.window));
        RegisterGrid* grid = world.window.gridView();

        QAccessibleInterface* header = accessible(grid->horizontalHeader());
        QVERIFY(header->state().invisible);
        QCOMPARE(header->childCount(), 0);

        grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
        QVERIFY(grid->horizontalScrollBar()->value() > 0);
        QAccessibleInterface* gridIface = accessible(grid);
        QAccessibleTableInterface* table = gridIface->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 4);  // and the spare row
        QCOMPARE(table->columnCount(), 10);
        // Scrolled under the key column: neither a cell nor its header is shown.
        QAccessibleInterface* under = table->cellAt(0, 1);
        QVERIFY(under->state().invisible);
        QVERIFY(under->tableCellInterface()->columnHeaderCells().first()->state().invisible);
        QVERIFY(!table->cellAt(0, 9)->state().invisible);
        const QPoint viewportLeft = grid->viewport()->mapToGlobal(QPoint(0, 0));
        for (int row = 0; row < 3; ++row) {
            QAccessibleInterface* cell = table->cellAt(row, 0);
            QVERIFY(cell);
            QVERIFY2(!cell->state().invisible, qPrintable(QString::number(row)));
            QCOMPARE(cell->rect().left(), viewportLeft.x());
            QCOMPARE(gridIface->childAt(cell->rect().center().x(), cell->rect().center().y()), cell);
            QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("AC%1").arg(row + 1));
            const QList<QAccessibleInterface*> headers = cell->tableCellInterface()->columnHeaderCells();
            QCOMPARE(headers.size(), 1);
            QCOMPARE(headers.first()->role(), QAccessible::ColumnHeader);
            QCOMPARE(headers.first()->text(QAccessible::Name), QStringLiteral("Account Number"));
            QCOMPARE(gridIface->indexOfChild(cell),
                     gridIface->indexOfChild(headers.first()) + 10 * (row + 1));
        }

        grid->setFocus();
        QVERIFY(world.window.Grid().setCurrentCell(2, 9));
        QAccessibleInterface* focused = gridIface->focusChild();
        QVERIFY(focused);
        QVERIFY(focused->state().focused);
        QCOMPARE(focused->text(QAccessible::Name), grid->model()->index(1, 9).data().toString());
        QCOMPARE(focused->tableCellInterface()->rowIndex(), 1);
        // A deposit removed: the table shrinks and hands out cells anew.
        QVERIFY(world.window.Grid().removeDeposit(1));
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(table->cellAt(0, 0)->text(QAccessible::Name), QStringLiteral("AC2"));
    }
};

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
