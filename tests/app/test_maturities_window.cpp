#include "app/widgets/look.h"
#include "app/widgets/maturities_model.h"
#include "app/widgets/maturity_ladder_view.h"
#include "app/widgets/register_grid.h"
#include "app/widgets/ruled_text_box.h"
#include "app/windows/frm_maturities.h"
#include "app/windows/frm_term_deposit_details.h"
#include "core/text_values.h"
#include "storage/deposit_file_writer.h"
#include "support/accessibility_walk.h"
#include "support/data_rows.h"
#include "support/deposit_file_world.h"
#include "support/preferences_scope.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <memory>

using namespace td;
using namespace td::test;

namespace {

// Today is 31/01/2024 (the fake clock).
DepositRecord deposit(const QString& account, const QString& termDate, const QString& balance,
                      const QString& futureValue, const QString& saving = "0", const QString& months = "0")
{
    DepositRecord d;
    d.texts = {account, saving, "5.5", "2", months, "31/01/2022", termDate, balance, futureValue, "Yes"};
    return d;
}

const QList<DepositRecord> kDeposits = {
    deposit("LATER", "01/06/2025", "$10.00", "$11.00"),
    deposit("MATURED", "31/01/2024", "$10,000.00", "$11,159.98"),
    deposit("SOON", "29/02/2024", "$9.00", "$9.90"),
};

DepositRecord inactive(DepositRecord d)
{
    d[Active] = "No";
    return d;
}

// Twins, values that do not read, an inactive deposit and savings beside kDeposits.
const QList<DepositRecord> kMixed =
    kDeposits + QList<DepositRecord>{
                    deposit("SOON", "28/02/2024", "$8.00", "$8.80"),
                    deposit("ODD", "2025-01-01", "$5.00", "$6.00"),
                    inactive(deposit("a10", "01/03/2024", "many", "$1.00", "$10.00", "3")),
                    inactive(deposit("A9", "15/02/2024", "$2,000.00", "$2,050.25", "$5.00", "6")),
                };

// Every row as its texts, in the order shown.
QStringList shownRows(const QAbstractItemModel& model)
{
    QStringList rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model.columnCount(); ++c)
            cells << model.index(r, c).data().toString();
        rows << cells.join('|');
    }
    return rows;
}

frmTermDepositDetails& details(QDialog& dialog) { return static_cast<frmTermDepositDetails&>(dialog); }

struct World : FileWorld {
    frmMaturities* maturities = nullptr;

    explicit World(const QList<DepositRecord>& deposits = kDeposits)
    {
        for (const DepositRecord& d : deposits)
            window.Grid().appendDeposit(d);
        window.show();
        ready = openMaturities();
    }
    // Offscreen, qWaitForWindowActive waits only for the exposure.
    bool openMaturities()
    {
        window.Maturities();
        maturities = window.maturitiesWindow();
        tester = std::make_unique<QAbstractItemModelTester>(
            model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        return QTest::qWaitFor([this] { return maturities->isActiveWindow(); }, 2000);
    }
    bool ready = false;
    std::unique_ptr<QAbstractItemModelTester> tester;
    QAbstractItemModel* model() const { return maturities->GridMaturities()->model(); }
    QHeaderView* header() const { return maturities->GridMaturities()->horizontalHeader(); }
    // The account of the row the window acts on; empty when none is.
    QString selected() const
    {
        const QModelIndex current = maturities->GridMaturities()->currentIndex();
        return current.isValid() ? model()->index(current.row(), 0).data().toString() : QString();
    }
    void select(const QString& account)
    {
        maturities->GridMaturities()->setCurrentIndex(model()->index(viewRowOf(account), 0));
    }
    QStringList column(int c) const
    {
        QStringList texts;
        for (int r = 0; r < model()->rowCount(); ++r)
            texts << model()->index(r, c).data().toString();
        return texts;
    }
    QStringList accounts() const { return column(maturities::AccountNumberColumn); }
    int viewRowOf(const QString& account) const { return static_cast<int>(accounts().indexOf(account)); }
    QPoint cellCentre(int row, int col) const
    {
        return maturities->GridMaturities()->visualRect(model()->index(row, col)).center();
    }
};

enum Command { New, Edit, Delete, Open, FileNew, Undo, Redo };

// "add", "edit 2", "delete 1" (register rows), "open", "new", "undo", "redo".
std::pair<Command, int> commandOf(const QString& step)
{
    static const QMap<QString, Command> commands{{"add", New},   {"edit", Edit},   {"delete", Delete},
                                                 {"open", Open}, {"new", FileNew}, {"undo", Undo},
                                                 {"redo", Redo}};
    const QStringList words = step.split(' ');
    return {commands.value(words[0]), words.value(1).toInt()};
}

// Runs a command of the main window; Edit and Delete act on the given register row.
void run(World& w, Command command, int row)
{
    Register& reg = w.window.Grid();
    switch (command) {
    case New:
        w.fake.modal.handlers.push_back([](QDialog& dialog) {
            frmTermDepositDetails& d = details(dialog);
            d.txtAccountNumber()->setText("ADDED");
            d.txtInterest()->setText("5");
            d.txtTermYears()->setText("0");
            d.txtAccountBalance()->setText("$1.00");
            d.setStartDate(QDate(2024, 2, 1));
            d.cmdAdd()->click();
        });
        w.window.NewTermDeposit();
        break;
    case Edit:
        w.answer(MessageButton::Yes);
        w.fake.modal.handlers.push_back([](QDialog& dialog) {
            details(dialog).txtTermYears()->setText("5");  // matures in 2027 now
            details(dialog).cmdAdd()->click();
        });
        reg.setCurrentCell(row, AccountNumber);
        w.window.EditTermDeposit();
        break;
    case Delete:
        w.answer(MessageButton::Yes);
        reg.setCurrentCell(row, AccountNumber);
        w.window.DeleteTermDeposit();
        break;
    case Open: {
        Register other;
        other.appendDeposit(deposit("FROMFILE", "01/01/2030", "$1.00", "$2.00"));
        DepositFileWriter writer;
        QVERIFY(writer.writeFile(w.path("other.tmd"), other));
        w.answerFile("other.tmd");
        w.window.fileItem(1)->trigger();
        break;
    }
    case FileNew:
        w.window.flags().ModifiedFlag = false;
        w.window.fileItem(0)->trigger();
        break;
    case Undo:
        w.window.actions().undo->trigger();
        break;
    case Redo:
        w.window.actions().redo->trigger();
        break;
    }
}

// Whether the header's sort arrow points up, read from what it draws: the
// pixels the arrow adds to its section, more of them at the bottom of an
// arrow that points up.
bool sortArrowPointsUp(QHeaderView& header)
{
    auto drawn = [&header](bool arrow) {
        header.setSortIndicatorShown(arrow);
        return header.grab().toImage();
    };
    const QImage without = drawn(false);
    const QImage with = drawn(true);
    const int left = header.sectionViewportPosition(header.sortIndicatorSection());
    QList<int> rows;  // the y of each pixel the arrow adds
    for (int y = 0; y < with.height(); ++y) {
        for (int x = left; x < left + header.sectionSize(header.sortIndicatorSection()); ++x) {
            if (with.pixel(x, y) != without.pixel(x, y))
                rows << y;
        }
    }
    if (rows.isEmpty())
        return false;
    const double middle = (rows.first() + rows.last()) / 2.0;
    const auto upper = std::count_if(rows.begin(), rows.end(), [middle](int y) { return y < middle; });
    const auto lower = std::count_if(rows.begin(), rows.end(), [middle](int y) { return y > middle; });
    return lower > upper;
}

}  // namespace

class TestMaturitiesWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { applyApplicationLook(*qobject_cast<QApplication*>(QCoreApplication::instance())); }

    void listsDepositsByTermDateMarkedAndTotalled()
    {
        World w;
        QVERIFY(QTest::qWaitForWindowExposed(w.maturities));
        QVERIFY(!w.maturities->isModal());
        QCOMPARE(w.accounts(), (QStringList{"MATURED", "SOON", "LATER"}));
        QCOMPARE(w.column(maturities::DaysColumn), (QStringList{"0", "29", "487"}));
        QCOMPARE(w.column(maturities::StatusColumn),
                 (QStringList{"Matured", "Within 30 days", "More than 30 days"}));
        QCOMPARE(w.model()->index(0, 1).data(Qt::BackgroundRole).value<QColor>(),
                 MaturitiesModel::maturedColour());
        QCOMPARE(w.model()->index(1, 1).data(Qt::BackgroundRole).value<QColor>(),
                 MaturitiesModel::dueSoonColour());
        QVERIFY(!w.model()->index(2, 1).data(Qt::BackgroundRole).isValid());
        QVERIFY(w.maturities->lblAllTotals()->text().startsWith(
            "All deposits: 3. Account balance $10,019.00, value today $11,181.18, future value $11,180.88"));
    }

    // Activated again on the day it counted, the window is left as the user
    // left it; on a later day the days are counted afresh, the widths kept.
    void aLaterDayCountsAfreshWhenTheWindowIsActivated()
    {
        World w;
        QVERIFY(w.ready);
        QSignalSpy counted(w.model(), &QAbstractItemModel::dataChanged);
        w.header()->resizeSection(maturities::StatusColumn, 300);
        auto activateAgain = [&] {
            w.window.activateWindow();
            QTRY_VERIFY(w.window.isActiveWindow());
            w.maturities->activateWindow();
            QTRY_VERIFY(w.maturities->isActiveWindow());
        };
        activateAgain();
        QCOMPARE(counted.size(), 0);
        w.fake.clock.date = QDate(2024, 2, 1);
        activateAgain();
        QCOMPARE(w.column(maturities::DaysColumn), (QStringList{"-1", "28", "486"}));
        QCOMPARE(counted.size(), 1);
        QCOMPARE(w.header()->sectionSize(maturities::StatusColumn), 300);
    }

    // The value today follows the day as the days do: counted again, with
    // its totals, when the window is activated on a later day.
    void theValueTodayFollowsTheDay()
    {
        DepositRecord running = deposit("RUNNING", "01/01/2026", "$10,000.00", "$11,159.98");
        running[StartDate] = "01/01/2024";
        World w({running});
        QVERIFY(w.ready);
        QCOMPARE(w.column(maturities::ValueTodayColumn), QStringList{"$10,000.00"});
        QVERIFY(w.maturities->lblAllTotals()->text().contains("value today $10,000.00,"));
        w.fake.clock.date = QDate(2024, 2, 1);
        w.window.activateWindow();
        QTRY_VERIFY(w.window.isActiveWindow());
        w.maturities->activateWindow();
        QTRY_VERIFY(w.maturities->isActiveWindow());
        // One month at 5.5%: 10000 * (1 + 0.055 / 12)
        QCOMPARE(w.column(maturities::ValueTodayColumn), QStringList{"$10,045.83"});
        QCOMPARE(w.column(maturities::InterestSoFarColumn), QStringList{"$45.83"});
        QVERIFY(w.maturities->lblAllTotals()->text().contains("value today $10,045.83,"));
    }

    // With a tax share set the Tax and Net Interest columns follow Interest
    // to Earn and the totals name the tax; set back to 0, the window is as
    // it was, a sort by tax now a sort by interest, the user's widths kept.
    void theTaxColumnsFollowThePreferences()
    {
        World w;
        QVERIFY(w.ready);
        auto headers = [&w] {
            QStringList texts;
            for (int c = 0; c < w.model()->columnCount(); ++c)
                texts << w.model()->headerData(c, Qt::Horizontal).toString();
            return texts;
        };
        const QStringList before = headers();
        QCOMPARE(before.mid(maturities::InterestColumn), (QStringList{"Interest to Earn", "Active"}));
        w.header()->resizeSection(maturities::BalanceColumn, 250);
        {
            const ScopedPreferences taxed({.taxShareHundredthsOfPercent = 1050});
            QCOMPARE(headers().mid(maturities::InterestColumn),
                     (QStringList{"Interest to Earn", "Tax", "Net Interest", "Active"}));
            QCOMPARE(w.maturities->cboSortBy()->count(), int(maturities::ColumnCount));
            // MATURED: 1159.98 of interest, 121.7979 of it tax.
            const int matured = w.viewRowOf("MATURED");
            QCOMPARE(w.model()->index(matured, maturities::TaxColumn).data().toString(),
                     QStringLiteral("$121.80"));
            QCOMPARE(w.model()->index(matured, maturities::NetInterestColumn).data().toString(),
                     QStringLiteral("$1,038.18"));
            QVERIFY(w.maturities->lblAllTotals()->text().contains(", tax $122.00, net interest $1,039.88."));
            w.maturities->cboSortBy()->setCurrentIndex(maturities::TaxColumn);
            w.maturities->ckDescending()->setChecked(true);
            QCOMPARE(w.accounts(), (QStringList{"MATURED", "LATER", "SOON"}));
        }
        QCOMPARE(headers(), before);
        QCOMPARE(w.maturities->cboSortBy()->count(), before.size());
        QCOMPARE(w.maturities->cboSortBy()->currentText(), QStringLiteral("Interest to Earn"));
        QCOMPARE(w.header()->sortIndicatorSection(), int(maturities::InterestColumn));
        QCOMPARE(w.accounts(), (QStringList{"MATURED", "LATER", "SOON"}));
        QVERIFY(!w.maturities->lblAllTotals()->text().contains("tax"));
        QCOMPARE(w.header()->sectionSize(maturities::BalanceColumn), 250);
    }

    // The ladder's table and its chart show the same 24 months and amounts,
    // and follow the register.
    void theLadderTableAndChartAgree()
    {
        World w;
        QVERIFY(w.ready);
        w.maturities->tabMaturities()->setCurrentIndex(1);
        MaturityLadderView* ladder = w.maturities->ladderView();
        QTableWidget* table = ladder->GridLadder();
        auto amounts = [table] {
            QList<double> values;
            for (int row = 0; row < table->rowCount(); ++row)
                values << *ParseNumber(table->item(row, 1)->text());
            return values;
        };
        QCOMPARE(table->rowCount(), 24);
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("January 2024"));
        QCOMPARE(table->item(23, 0)->text(), QStringLiteral("December 2025"));
        // SOON matures in February; LATER in June 2025; MATURED is not in it.
        QList<double> expected(24, 0.0);
        expected[1] = 9.90;
        expected[17] = 11.00;
        QCOMPARE(amounts(), expected);
        QCOMPARE(ladder->barValues(), expected);
        run(w, Delete, 3);  // SOON
        expected[1] = 0;
        QTRY_COMPARE(amounts(), expected);
        QCOMPARE(ladder->barValues(), expected);
    }

    void unreadableValuesShowAsTheyStandAndStayOutOfTheTotals()
    {
        World w({deposit("A1", "2024-06-01", "$100.00", "$110.00"),
                 deposit("A2", "01/06/2024", "lots", "$5.00"),
                 deposit("A3", "01/05/2024", "$1.00", "$2.00")});
        QCOMPARE(w.accounts(), (QStringList{"A3", "A2", "A1"}));
        QCOMPARE(w.column(maturities::TermDateColumn).last(), QStringLiteral("2024-06-01"));
        QCOMPARE(w.column(maturities::BalanceColumn)[1], QStringLiteral("lots"));
        QCOMPARE(w.maturities->lblAllTotals()->text(),
                 QStringLiteral(
                     "All deposits: 3. Account balance $101.00, value today $112.72, future value "
                     "$112.00, interest to earn $11.00. 1 deposit left out: its values cannot be read."));
    }

    // Either way of sorting sorts by value, and the header's arrow and the two
    // controls show the order the rows run in.
    void sortingShowsTheOrderOfTheRows_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("descending");
        dataRow("header click", QStringList{"header"}, false);
        dataRow("header clicked twice", QStringList{"header", "header"}, true);
        dataRow("header click, then Descending", QStringList{"header", "descending"}, true);
        dataRow("Sort by", QStringList{"sort by"}, false);
        dataRow("Sort by, then Descending", QStringList{"sort by", "descending"}, true);
    }
    void sortingShowsTheOrderOfTheRows()
    {
        QFETCH(QStringList, steps);
        QFETCH(bool, descending);
        World w;
        QHeaderView* header = w.header();
        for (const QString& step : steps) {
            if (step == "header") {
                const int x = header->sectionViewportPosition(maturities::BalanceColumn) + 5;
                QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
            } else if (step == "sort by") {
                w.maturities->cboSortBy()->setCurrentIndex(maturities::BalanceColumn);
            } else {  // the keyboard's way: the Descending box
                w.maturities->ckDescending()->setFocus();
                QTest::keyClick(w.maturities->ckDescending(), Qt::Key_Space);
            }
        }
        QStringList balances{"$9.00", "$10.00", "$10,000.00"};
        if (descending)
            std::reverse(balances.begin(), balances.end());
        QCOMPARE(w.column(maturities::BalanceColumn), balances);
        QCOMPARE(header->sortIndicatorSection(), int(maturities::BalanceColumn));
        QCOMPARE(header->sortIndicatorOrder(), descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        QCOMPARE(w.maturities->cboSortBy()->currentIndex(), int(maturities::BalanceColumn));
        QCOMPARE(w.maturities->ckDescending()->isChecked(), descending);
        QCOMPARE(sortArrowPointsUp(*header), !descending);
    }

    void doubleClickEditsThatDeposit()
    {
        World w;
        QVERIFY(w.ready);
        QString opened;
        w.fake.modal.handlers.push_back([&](QDialog& dialog) {
            opened = details(dialog).txtAccountNumber()->text();
            dialog.reject();
        });
        const int row = w.viewRowOf("SOON");
        QWidget* viewport = w.maturities->GridMaturities()->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {},
                          w.cellCentre(row, 2));  // a real double click starts so
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, w.cellCentre(row, 2));
        QCOMPARE(w.fake.modal.shown, QStringList{"frmTermDepositDetails"});
        QCOMPARE(opened, QStringLiteral("SOON"));
        QCOMPARE(w.window.Grid().row(), 3);
    }

    void followsTheRegisterLive_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QStringList>("accounts");
        dataRow("New adds", int(New), QStringList{"MATURED", "ADDED", "SOON", "LATER"});
        dataRow("Edit rewrites", int(Edit), QStringList{"SOON", "LATER", "MATURED"});
        dataRow("Delete removes", int(Delete), QStringList{"MATURED", "LATER"});
        dataRow("Open replaces", int(Open), QStringList{"FROMFILE"});
        dataRow("File New empties", int(FileNew), QStringList{});
    }
    void followsTheRegisterLive()
    {
        QFETCH(int, command);
        QFETCH(QStringList, accounts);
        World w;
        w.header()->resizeSection(maturities::BalanceColumn, 250);  // the user's width
        run(w, Command(command), command == Edit ? 2 : 3);
        QTRY_COMPARE(w.accounts(), accounts);
        QTRY_VERIFY(w.maturities->lblAllTotals()->text().startsWith(
            QStringLiteral("All deposits: %1.").arg(accounts.size())));
        QCOMPARE(w.header()->sectionSize(maturities::BalanceColumn), 250);
    }

    // Each change moves only its own row and changes the totals by its own
    // figures; the window then shows what one built afresh shows.
    void keptInStepWithTheRegister_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QStringList>("steps");
        dataRow("by term date", int(maturities::TermDateColumn), false,
                QStringList{"add", "edit 3", "delete 1"});
        dataRow("by account, down", int(maturities::AccountNumberColumn), true,
                QStringList{"delete 3", "add", "edit 6"});
        dataRow("by balance: rows above deleted", int(maturities::BalanceColumn), false,
                QStringList{"delete 1", "delete 1", "add", "edit 1"});
        dataRow("by status, down: another register", int(maturities::StatusColumn), true,
                QStringList{"open", "add", "edit 1"});
        dataRow("by active: a new register", int(maturities::ActiveColumn), false,
                QStringList{"new", "add", "delete 1"});
        dataRow("by interest: the last rows", int(maturities::InterestColumn), false,
                QStringList{"edit 7", "delete 7", "delete 6"});
        dataRow("by term date: undone and redone", int(maturities::TermDateColumn), false,
                QStringList{"edit 3", "delete 1", "add", "undo", "undo", "undo", "redo", "redo"});
        dataRow("by balance, down: undone past an add", int(maturities::BalanceColumn), true,
                QStringList{"add", "delete 8", "undo", "undo", "redo", "delete 1", "undo"});
    }
    void keptInStepWithTheRegister()
    {
        QFETCH(int, column);
        QFETCH(bool, descending);
        QFETCH(QStringList, steps);
        World w(kMixed);
        QVERIFY(w.ready);
        w.maturities->cboSortBy()->setCurrentIndex(w.maturities->model()->viewColumnOf(column));
        w.maturities->ckDescending()->setChecked(descending);
        QSignalSpy resets(w.model(), &QAbstractItemModel::modelReset);
        for (const QString& step : steps) {
            const auto [command, row] = commandOf(step);
            run(w, command, row);
            w.maturities->model()->catchUp();
            MaturitiesModel afresh(w.window.Grid(), w.fake.clock, DateForm(), w.fake.progress);
            QVERIFY(afresh.countAll());
            QVERIFY(afresh.sortRows(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder));
            QCOMPARE(shownRows(*w.model()), shownRows(afresh));
            QCOMPARE(w.maturities->lblAllTotals()->text(),
                     maturities::totalsText(afresh.summary().all, false));
            QCOMPARE(w.maturities->lblActiveTotals()->text(),
                     maturities::totalsText(afresh.summary().active, true));
        }
        // Only another register opened is counted whole.
        QCOMPARE(resets.size(), int(steps.count("open")));
    }

    // Cancelled, the count opens no window; a sort leaves the rows, the
    // header's arrow and the sort controls as they were.
    void cancelledCountOpensNoWindow()
    {
        FileWorld w;
        w.addDeposits(3);
        w.fake.progress.cancelAt = 1;
        w.window.Maturities();
        QVERIFY(!w.window.maturitiesWindow());
        QCOMPARE(w.fake.progress.tasks, QStringList{"Listing the maturities"});
        QCOMPARE(w.fake.progress.ended, 1);
        QVERIFY(!w.fake.pointer.isBusy());
    }
    void cancelledSortKeepsTheOrder_data()
    {
        QTest::addColumn<QString>("how");
        dataRow("header click", "header");
        dataRow("Sort by", "sort by");
        dataRow("Descending", "descending");
    }
    void cancelledSortKeepsTheOrder()
    {
        QFETCH(QString, how);
        World w(kMixed);
        QVERIFY(w.ready);
        const QStringList before = shownRows(*w.model());
        w.fake.progress.cancelAt = 1;
        if (how == "header") {
            const int x = w.header()->sectionViewportPosition(maturities::BalanceColumn) + 5;
            QTest::mouseClick(w.header()->viewport(), Qt::LeftButton, {},
                              QPoint(x, w.header()->height() / 2));
        } else if (how == "sort by") {
            w.maturities->cboSortBy()->setCurrentIndex(maturities::BalanceColumn);
        } else {
            w.maturities->ckDescending()->click();
        }
        QCOMPARE(w.fake.progress.tasks.size(), 2);  // the count, then the sort
        QVERIFY(w.fake.progress.tasks.last().startsWith("Sorting the maturities by "));
        QCOMPARE(shownRows(*w.model()), before);
        QCOMPARE(w.header()->sortIndicatorSection(), int(maturities::TermDateColumn));
        QCOMPARE(w.header()->sortIndicatorOrder(), Qt::AscendingOrder);
        QCOMPARE(w.maturities->cboSortBy()->currentIndex(), int(maturities::TermDateColumn));
        QVERIFY(!w.maturities->ckDescending()->isChecked());
        QVERIFY(!w.fake.pointer.isBusy());
    }

    // A change in the main window never leaves another deposit for Edit or
    // Roll Over: the selected deposit stays selected wherever it sorts now, or
    // nothing is selected when it is gone, even once the window has the focus again.
    void theSelectionStaysOnItsDepositOrIsCleared_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("row");  // the register row Edit or Delete acts on
        QTest::addColumn<QString>("after");
        dataRow("another deposit added", "SOON", int(New), 0, "SOON");
        dataRow("it is rewritten and sorts last", "SOON", int(Edit), 3, "SOON");
        dataRow("another deposit rewritten", "LATER", int(Edit), 2, "LATER");
        dataRow("it is deleted", "SOON", int(Delete), 3, "");
        dataRow("a deposit above it deleted", "SOON", int(Delete), 1, "SOON");
        dataRow("it is deleted, its twin stays", "TWIN", int(Delete), 3, "");
        dataRow("another register opened", "SOON", int(Open), 0, "");
        dataRow("a new register", "SOON", int(FileNew), 0, "");
    }
    void theSelectionStaysOnItsDepositOrIsCleared()
    {
        QFETCH(QString, selected);
        QFETCH(int, command);
        QFETCH(int, row);
        QFETCH(QString, after);
        // Register rows: LATER, MATURED, SOON; TWIN shares SOON's account.
        QList<DepositRecord> deposits = kDeposits;
        if (selected == "TWIN")
            deposits.insert(2, deposit("SOON", "28/02/2024", "$8.00", "$8.80"));
        World w(deposits);
        QVERIFY(w.ready);
        w.select(selected == "TWIN" ? "SOON" : selected);  // the twin, due first
        run(w, Command(command), row);
        QCoreApplication::processEvents();
        QCOMPARE(w.selected(), after);
        w.window.activateWindow();
        QTRY_VERIFY(w.window.isActiveWindow());
        w.maturities->activateWindow();
        QTRY_VERIFY(w.maturities->isActiveWindow());
        QVERIFY(w.maturities->GridMaturities()->hasFocus());
        QCOMPARE(w.selected(), after);
        QCOMPARE(w.maturities->cmdEdit()->isEnabled(), !after.isEmpty());
        if (after.isEmpty()) {
            QVERIFY(w.maturities->GridMaturities()->selectionModel()->selectedIndexes().isEmpty());
            QVERIFY(!w.maturities->cmdRollOver()->isEnabled());
            w.maturities->cmdRollOver()->click();
            w.maturities->cmdEdit()->click();
            QVERIFY(w.fake.modal.shown.isEmpty());
        }
    }

    // The window opens beside the main window, on its right where that fits,
    // else on its left; where neither fits it stays on the screen on the
    // roomier side, over the main window.
    void opensBesideTheMainWindow_data()
    {
        // The free pixels on either side of the main window, less the window's
        // width, and below the main window's top, less its height.
        QTest::addColumn<int>("leftRoom");
        QTest::addColumn<int>("rightRoom");
        QTest::addColumn<int>("below");
        QTest::addColumn<QString>("side");
        dataRow("room on the right", -10000, 80, 200, "right");
        dataRow("just room on the right", -800, 0, 200, "right");
        dataRow("room on the left only", 10, -1, 200, "left");
        dataRow("just room on the left", 0, -700, 200, "left");
        dataRow("no room: more on the right", -700, -500, 200, "screen right edge");
        dataRow("no room: more on the left", -500, -700, 200, "screen left edge");
        dataRow("too short below: lifted", -10000, 80, -20, "right, lifted");
    }
    void opensBesideTheMainWindow()
    {
        QFETCH(int, leftRoom);
        QFETCH(int, rightRoom);
        QFETCH(int, below);
        QFETCH(QString, side);
        World w;
        QVERIFY(w.ready);
        const QSize size = w.maturities->frameGeometry().size();
        w.maturities->close();
        QTRY_VERIFY(!w.window.maturitiesWindow());
        leftRoom = std::max(0, size.width() + leftRoom);
        rightRoom = std::max(0, size.width() + rightRoom);
        below += size.height();
        w.window.move(leftRoom, 50);
        const QRect main = w.window.frameGeometry();
        QCOMPARE(main.topLeft(), QPoint(leftRoom, 50));
        w.fake.screen.size = QSize(leftRoom + main.width() + rightRoom, 50 + below);
        QVERIFY(w.openMaturities());
        const QMap<QString, QPoint> expected{
            {"right", {main.right() + 1, 50}},
            {"left", {leftRoom - size.width(), 50}},
            {"screen right edge", {w.fake.screen.size.width() - size.width(), 50}},
            {"screen left edge", {0, 50}},
            {"right, lifted", {main.right() + 1, 50 + below - size.height()}},
        };
        QCOMPARE(w.maturities->frameGeometry().topLeft(), expected.value(side));
    }

    void rollOverOpensTheNextTermAndWritesOnlyOnAdd_data()
    {
        QTest::addColumn<QString>("saving");
        QTest::addColumn<QString>("months");
        QTest::addColumn<bool>("add");
        QTest::addColumn<QString>("termDate");
        QTest::addColumn<QString>("futureValue");
        // 31/01/2024 + 2 years; $11,159.98 at 5.5% over 24 months: 11159.98 * (1 + .055/12)^24 =
        // 12454.51.
        dataRow("no savings, added", "0", "0", true, "31/01/2026", "$12,454.51");
        // 30 months with $100.00 a month: 11159.98 * 1.1470413124801635 + 3208.174090476294 =
        // 16009.13.
        dataRow("savings and months, added", "$100.00", "6", true, "31/07/2026", "$16,009.13");
        dataRow("cancelled: nothing written", "$100.00", "6", false, "31/07/2026", "$16,009.13");
    }
    void rollOverOpensTheNextTermAndWritesOnlyOnAdd()
    {
        QFETCH(QString, saving);
        QFETCH(QString, months);
        QFETCH(bool, add);
        QFETCH(QString, termDate);
        QFETCH(QString, futureValue);
        World w({deposit("LATER", "01/06/2025", "$10.00", "$11.00"),
                 deposit("MATURED", "31/01/2024", "$10,000.00", "$11,159.98", saving, months)});
        QVERIFY(w.ready);
        const DepositRecord before = w.window.Grid().record(2);
        QStringList shown;
        w.answer(MessageButton::Yes);
        w.fake.modal.handlers.push_back([&](QDialog& dialog) {
            frmTermDepositDetails& d = details(dialog);
            shown << d.txtAccountNumber()->text() << d.txtSaveEachMonth()->text() << d.txtInterest()->text()
                  << d.txtTermYears()->text() << d.txtTermMonths()->text()
                  << d.DTPicStartDate()->date().toString("dd/MM/yyyy") << d.lblTermDate()->text()
                  << d.txtAccountBalance()->text() << d.lblFutureValue()->text();
            QCOMPARE(d.ckSaveMonthOnOff()->isChecked(), saving != "0");
            QCOMPARE(d.ckMonthsOnOff()->isChecked(), months != "0");
            QCOMPARE(d.txtSaveEachMonth()->isEnabled(), saving != "0");
            (add ? d.cmdAdd() : d.cmdCancel())->click();
        });
        w.maturities->GridMaturities()->setCurrentIndex(w.model()->index(w.viewRowOf("LATER"), 0));
        QVERIFY(!w.maturities->cmdRollOver()->isEnabled());  // not matured
        w.maturities->GridMaturities()->setCurrentIndex(w.model()->index(w.viewRowOf("MATURED"), 0));
        QVERIFY(w.maturities->cmdRollOver()->isEnabled());
        QTest::keyClick(w.maturities->GridMaturities(), Qt::Key_R, Qt::AltModifier);
        QTRY_VERIFY(!w.fake.modal.shown.isEmpty());  // an access key clicks a moment later
        QCOMPARE(shown, (QStringList{"MATURED", saving, "5.5", "2", months, "31/01/2024", termDate,
                                     "$11,159.98", futureValue}));
        if (!add) {
            QVERIFY(w.fake.messages.asked.isEmpty());
            QCOMPARE(w.window.Grid().record(2), before);
            QVERIFY(!w.window.flags().ModifiedFlag);
            return;
        }
        QCOMPARE(w.fake.messages.asked.size(), 1);
        QCOMPARE(w.fake.messages.asked[0].title, QStringLiteral("Over Write Term Deposit?"));
        QCOMPARE(w.window.Grid().rows(), 4);
        const DepositRecord after = w.window.Grid().record(2);
        QCOMPARE(after[StartDate], QStringLiteral("31/01/2024"));
        QCOMPARE(after[TermDate], termDate);
        QCOMPARE(after[AccountBalance], QStringLiteral("$11,159.98"));
        QCOMPARE(after[FutureValue], futureValue);
        QTRY_COMPARE(w.accounts(), (QStringList{"LATER", "MATURED"}));
    }

    // A register opened by File > Open or from outside (a file given at
    // start, a drop) with active deposits due within the reminder days
    // brings one desktop notification, and no box; its action shows the
    // maturities window. Off, nothing is posted.
    void remindsOfDueDepositsWhenARegisterOpens_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<bool>("fromOutside");
        QTest::addColumn<QString>("body");
        const QString due =
            "2 active deposits mature by 01/03/2024 or have matured. The earliest is MATURED, term "
            "date 31/01/2024.";
        dataRow("File > Open", 30, false, due);
        dataRow("a file from outside", 30, true, due);
        dataRow("reminders off", 0, false, "");
    }
    void remindsOfDueDepositsWhenARegisterOpens()
    {
        QFETCH(int, days);
        QFETCH(bool, fromOutside);
        QFETCH(QString, body);
        FileWorld w;
        Register reg;
        for (const DepositRecord& d : kDeposits)
            reg.appendDeposit(d);
        DepositFileWriter writer;
        QVERIFY(writer.writeFile(w.path("due.tmd"), reg));
        const ScopedPreferences reminders({.reminderDays = days});
        if (fromOutside)
            w.window.openFile(w.path("due.tmd"));
        else
            w.runWithFile(1, "due.tmd");
        QCOMPARE(w.window.Grid().depositCount(), 3);
        QVERIFY(w.fake.messages.asked.isEmpty());
        if (body.isEmpty()) {
            QVERIFY(w.fake.notifications.posted.isEmpty());
            return;
        }
        QCOMPARE(w.fake.notifications.posted.size(), 1);
        const FakeNotifications::Posted posted = w.fake.notifications.posted.constFirst();
        QCOMPARE(posted.notification.body, body);
        QVERIFY(!w.window.maturitiesWindow());
        posted.onAction();
        QVERIFY(w.window.maturitiesWindow());
        QVERIFY(w.window.maturitiesWindow()->isVisible());
    }

    void everyControlIsNamedAndReachable()
    {
        World w;
        QVERIFY(w.ready);
        QCOMPARE(accessibilityProblems(*w.maturities), QStringList());
        // The totals read as sentences to a screen reader.
        QAccessibleInterface* totals = QAccessible::queryAccessibleInterface(w.maturities->lblActiveTotals());
        QVERIFY(totals->text(QAccessible::Name).startsWith("Active deposits: 3. Account balance $10,019.00"));
        // Tab from the grid reaches the totals and every button in turn.
        w.maturities->GridMaturities()->setFocus();
        QList<QWidget*> visited;
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget();
        }
        for (QWidget* control : {static_cast<QWidget*>(w.maturities->lblActiveTotals()),
                                 static_cast<QWidget*>(w.maturities->lblAllTotals()),
                                 static_cast<QWidget*>(w.maturities->cmdEdit()),
                                 static_cast<QWidget*>(w.maturities->cmdClose())})
            QVERIFY2(visited.contains(control), qPrintable(control->objectName()));
        QTest::keyClick(w.maturities, Qt::Key_Escape);
        QTRY_VERIFY(!w.window.maturitiesWindow());
    }
};

QTEST_MAIN(TestMaturitiesWindow)
#include "test_maturities_window.moc"
