#include "app/widgets/bar_chart_view.h"
#include "app/widgets/interest_by_year_model.h"
#include "app/windows/frm_interest_by_year.h"
#include "core/text_values.h"
#include "platform/preferences.h"
#include "support/data_rows.h"
#include "support/deposit_file_world.h"
#include "support/interest_by_year_deposits.h"
#include "support/test_settings.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace td;
using namespace td::test;

namespace {

struct World : FileWorld {
    frmInterestByYear* years = nullptr;
    std::unique_ptr<QAbstractItemModelTester> tester;

    explicit World(const QList<DepositRecord>& deposits = interestByYearSamples())
    {
        for (const DepositRecord& d : deposits)
            window.Grid().appendDeposit(d);
        window.show();
        window.actions().interestByYear->trigger();
        years = window.interestByYearWindow();
        if (years)
            tester = std::make_unique<QAbstractItemModelTester>(
                years->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    // Every row as shown, "year|interest|...".
    QStringList rows() const
    {
        const QAbstractItemModel& model = *years->GridInterestByYear()->model();
        QStringList rows;
        for (int r = 0; r < model.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < model.columnCount(); ++c)
                cells << model.index(r, c).data().toString();
            rows << cells.join('|');
        }
        return rows;
    }
    // The chart, and the table's first two columns, as "year|interest".
    QStringList bars() const
    {
        QStringList bars;
        const BarChartData& drawn = years->chartInterest()->bars();
        for (qsizetype i = 0; i < drawn.values.size(); ++i)
            bars << drawn.labels.value(i) + '|' + FormatMoney(drawn.values.at(i));
        return bars;
    }
    QStringList tableHead() const
    {
        QStringList head = rows();
        for (QString& row : head)
            row = row.section('|', 0, 1);
        return head;
    }
};

}  // namespace

class TestInterestByYearWindow : public QObject {
    Q_OBJECT

private slots:
    void init() { startWithNoSettingsFile(); }

    // The active deposits' years, the chart drawing the same interest; all of
    // them with the box ticked.
    void showsTheYearsAndTheirChart()
    {
        World w;
        QVERIFY(w.years);
        QVERIFY(QTest::qWaitForWindowExposed(w.years));
        QVERIFY(w.years->windowTitle().contains("Interest by Year"));
        QVERIFY(!w.years->isModal());
        QCOMPARE(w.rows(), QStringList({"2024|$191.72|$0.00|$4,291.72", "2025|$92.02|$4,483.74|$0.00"}));
        QCOMPARE(w.bars(), w.tableHead());
        QCOMPARE(w.years->lblCount()->text(),
                 "Active deposits: 3. 1 deposit left out: its values cannot be read.");
        QTRY_VERIFY(w.years->isActiveWindow());
        QTest::keyClick(w.years->GridInterestByYear(), Qt::Key_I, Qt::AltModifier);
        QTRY_VERIFY(w.years->ckIncludeInactive()->isChecked());
        QCOMPARE(w.rows().first(), "2023|$0.00|$0.00|$500.00");
        QCOMPARE(w.bars(), w.tableHead());
        QVERIFY(w.years->lblCount()->text().startsWith("All deposits: 4."));
    }

    // Every change of the register is counted, once a command is done; the
    // preferences rename the years or add the tax at once.
    void followsTheRegisterAndThePreferences_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("rows");
        dataRow("add", "add",
                QStringList{"2024|$191.72|$0.00|$4,291.72", "2025|$92.02|$4,483.74|$0.00",
                            "2026|$0.00|$0.00|$7.00", "2027|$0.00|$7.00|$0.00"});
        dataRow("delete", "delete",
                QStringList{"2024|$51.01|$0.00|$1,051.01", "2025|$75.82|$1,126.83|$0.00"});
        dataRow("tax years from July", "july",
                QStringList{"2023–24|$55.53|$0.00|$2,555.53", "2024–25|$217.05|$3,356.91|$1,115.67",
                            "2025–26|$11.16|$1,126.83|$0.00"});
        dataRow("tax withheld", "tax",
                QStringList{"2024|$191.72|$20.13|$171.59|$0.00|$4,291.72",
                            "2025|$92.02|$9.66|$82.36|$4,483.74|$0.00"});
    }
    void followsTheRegisterAndThePreferences()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, rows);
        World w;
        QVERIFY(w.years);
        Register& reg = w.window.Grid();
        Preferences preferences;
        if (change == "add") {
            reg.appendDeposit(depositOf(
                {"LATER", "0", "0", "1", "0", "01/06/2026", "01/06/2027", "$7.00", "$7.00", "Yes"}));
        } else if (change == "delete") {
            reg.removeDeposit(2);
        } else {
            (change == "july" ? preferences.taxYearStartMonth : preferences.taxShareHundredthsOfPercent) =
                change == "july" ? 7 : 1050;
            QVERIFY(savePreferences(preferences));
        }
        QTRY_COMPARE(w.rows(), rows);
        QCOMPARE(w.bars(), w.tableHead());
    }

    // Cancelled, the first count opens no window; a later one leaves the
    // figures as they were and says so.
    void cancelledCounts()
    {
        FileWorld w;
        w.addDeposits(2);
        w.fake.progress.cancelAt = 1;
        w.window.InterestByYear();
        QVERIFY(!w.window.interestByYearWindow());
        QCOMPARE(w.fake.progress.tasks, QStringList{"Counting the interest by year"});
        QVERIFY(!w.fake.pointer.isBusy());

        w.fake.progress.cancelAt = 0;
        w.window.InterestByYear();
        frmInterestByYear* years = w.window.interestByYearWindow();
        QVERIFY(years);
        const QList<QStringList> before = years->model()->shownRows();
        w.fake.progress.cancelAt = 1;
        w.addDeposits(1, "MORE");
        QTRY_VERIFY(years->lblCount()->text().endsWith(
            "Counting was cancelled: these figures are from before the last change."));
        QCOMPARE(years->model()->shownRows(), before);
    }

    // Export writes the rows as shown; the table's menu also with plain numbers.
    void exportWritesTheRows_data()
    {
        QTest::addColumn<bool>("plain");
        QTest::addColumn<QByteArray>("written");
        dataRow("Export... as shown", false,
                QByteArray("Year,Interest Earned,Maturing,Held at Year End\r\n"
                           "2024,$191.72,$0.00,\"$4,291.72\"\r\n2025,$92.02,\"$4,483.74\",$0.00\r\n"));
        dataRow("plain numbers", true,
                QByteArray("Year,Interest Earned,Maturing,Held at Year End\r\n"
                           "2024,191.72,0.00,4291.72\r\n2025,92.02,4483.74,0.00\r\n"));
    }
    void exportWritesTheRows()
    {
        QFETCH(bool, plain);
        QFETCH(QByteArray, written);
        World w;
        QVERIFY(w.years);
        w.answerFile("years.csv");
        if (plain)
            w.years->actExportNumbers()->trigger();
        else
            w.years->cmdExport()->click();
        QCOMPARE(fileBytes(w.path("years.csv")), written);
        QCOMPARE(w.fake.files.requests.size(), 1);
        QCOMPARE(w.fake.files.requests[0].settings.initialPath,
                 plain ? "Interest by Year-plain.csv" : "Interest by Year.csv");
        QVERIFY(w.fake.messages.asked.isEmpty());
    }

    // Tab runs from the table through every control; the chart takes no focus.
    void everyControlIsReachable()
    {
        World w;
        QVERIFY(w.years);
        QVERIFY(QTest::qWaitFor([&] { return w.years->isActiveWindow(); }, 2000));
        w.years->GridInterestByYear()->setFocus();
        QList<QWidget*> visited;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget();
        }
        QCOMPARE(visited, (QList<QWidget*>{w.years->lblCount(), w.years->ckIncludeInactive(),
                                           w.years->cmdExport(), w.years->cmdClose()}));
        QTest::keyClick(w.years, Qt::Key_Escape);
        QTRY_VERIFY(!w.window.interestByYearWindow());
    }
};

QTEST_MAIN(TestInterestByYearWindow)
#include "test_interest_by_year_window.moc"
