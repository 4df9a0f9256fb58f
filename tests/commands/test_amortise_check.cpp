#include "commands/amortise_check.h"
#include "support/data_rows.h"
#include "support/fake_platform.h"

#include <QTest>

using namespace td;
using namespace td::test;

// The checks after the selection test: only the texts "0" mean no months
// and no savings, and a row that cannot be computed is refused, not shown.
class TestAmortiseCheck : public QObject {
    Q_OBJECT

private slots:
    void checks_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("refusal");  // empty: the schedule is given
        QTest::addColumn<int>("columnAfter");
        const QString notWholeYears = "To Amortise the months and save each month value must be zero.";
        const QString unreadable =
            "The interest, balance or dates of this Term Deposit cannot be read, so it cannot be amortised.";
        dataRow("three whole years, no saving", int(Years), "3", "", int(SaveEachMonth));
        dataRow("months 6", int(Months), "6", notWholeYears, int(SaveEachMonth));
        dataRow("months 00", int(Months), "00", notWholeYears, int(SaveEachMonth));
        dataRow("months with a blank", int(Months), "0 ", notWholeYears, int(SaveEachMonth));
        dataRow("savings $0.00", int(SaveEachMonth), "$0.00", notWholeYears, int(SaveEachMonth));
        dataRow("interest not a number", int(Interest), "5.2.5", unreadable, int(SaveEachMonth));
        dataRow("start date in another form", int(StartDate), "2024-03-15", unreadable, int(SaveEachMonth));
    }
    void checks()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QString, refusal);
        QFETCH(int, columnAfter);
        Register reg;
        DepositRecord d;
        d.texts = {"A1", "0", "5", "3", "0", "15/03/2024", "15/03/2027", "$10,000.00", "$11,614.72", "Yes"};
        d[column] = text;
        reg.appendDeposit(d);
        QVERIFY(reg.setCurrentCell(1, Active));
        FakeMessageBoxes messages;

        const auto schedule = amortisableSchedule(reg, false, DateForm(), messages);

        QCOMPARE(QPoint(reg.col(), reg.row()), QPoint(columnAfter, 1));
        if (refusal.isEmpty()) {
            QVERIFY(messages.asked.isEmpty());
            QVERIFY(schedule);
            QCOMPARE(schedule->size(), std::size_t(3));
            QCOMPARE(schedule->back()[ScheduleYear], QStringLiteral("2027"));
            return;
        }
        QVERIFY(!schedule);
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].title, QStringLiteral("Amortise Term Deposit"));
        QCOMPARE(messages.asked[0].text, refusal);
        QCOMPARE(messages.asked[0].icon, MessageIcon::Information);
    }

    void noSelectionIsRefusedFirst()
    {
        Register reg;
        FakeMessageBoxes messages;
        QVERIFY(!amortisableSchedule(reg, false, DateForm(), messages));
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text,
                 QStringLiteral("A Term Deposit must be selected from the grid to amortise."));
    }
};

QTEST_GUILESS_MAIN(TestAmortiseCheck)
#include "test_amortise_check.moc"
