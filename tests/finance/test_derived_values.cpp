#include "core/text_values.h"
#include "finance/derived_values.h"
#include "support/data_rows.h"

#include <QTest>
#include <cmath>

using namespace td;
using td::test::dataRow;

class TestDerivedValues : public QObject {
    Q_OBJECT

private slots:
    void termDate_data()
    {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QString>("years");
        QTest::addColumn<QString>("months");
        QTest::addColumn<QString>("expected");
        dataRow("worked example", QDate(2024, 1, 31), "2", "6", "31/07/2026");
        dataRow("no term is the start date", QDate(2024, 1, 31), "0", "0", "31/01/2024");
        dataRow("empty boxes read as 0", QDate(2024, 1, 31), "", "", "31/01/2024");
        dataRow("years then months, each corrected", QDate(2024, 2, 29), "1", "1", "28/03/2025");
        dataRow("29 February to a leap year", QDate(2024, 2, 29), "4", "0", "29/02/2028");
        dataRow("29 February plus 12 months", QDate(2024, 2, 29), "0", "12", "28/02/2025");
        dataRow("end of month into February", QDate(2023, 8, 31), "0", "6", "29/02/2024");
        dataRow("31 January plus a month", QDate(2023, 1, 31), "0", "1", "28/02/2023");
        dataRow("longest term the keys allow", QDate(2024, 1, 31), "99", "11", "31/12/2123");
        dataRow("last day of the calendar", QDate(9998, 12, 31), "1", "0", "31/12/9999");
        dataRow("past 9999 by the years", QDate(9950, 1, 1), "50", "0", "");
        dataRow("past 9999 by the months", QDate(9999, 12, 31), "0", "1", "");
        dataRow("past 9999 by years and months", QDate(9999, 6, 1), "0", "7", "");
        // Only pasted or loaded texts can hold these; none may crash.
        dataRow("part of a year counts whole", QDate(2024, 1, 31), "1.5", "0", "31/01/2025");
        dataRow("enormous years", QDate(2024, 1, 31), "99999999999", "0", "");
        dataRow("years beyond double", QDate(2024, 1, 31), "1e999", "0", "");
        dataRow("enormous months", QDate(2024, 1, 31), "0", "3000000000", "");
        dataRow("months back before year 1", QDate(1, 3, 1), "0", "-3", "");
    }
    void termDate()
    {
        QFETCH(QDate, start);
        QFETCH(QString, years);
        QFETCH(QString, months);
        QFETCH(QString, expected);
        QCOMPARE(termDateText(start, years, months, DateForm()), expected);
    }

    void termDateFollowsTheDateForm()
    {
        const DateForm iso = DateForm::fromLocale(QLocale(QLocale::Swedish, QLocale::Sweden));
        QCOMPARE(iso.pattern(), QStringLiteral("yyyy-MM-dd"));
        QCOMPARE(termDateText(QDate(2024, 2, 29), u"1", u"1", iso), QStringLiteral("2025-03-28"));
    }

    void monthlySavingsAddToTheGrownBalance()
    {
        // r = 5.5 / 100 / 12, n = 30: (1 + r)^30 = 1.1470413124801635.
        const double value = td::futureValue(10000, 100, 5.5, 2, 6);
        QCOMPARE(value, 14678.587215277928);
        QCOMPARE(td::futureValueText(u"$10,000.00", u"$100.00", u"5.5", u"2", u"6"),
                 QStringLiteral("$14,678.59"));
    }

    void futureValueText_data()
    {
        QTest::addColumn<QString>("balance");
        QTest::addColumn<QString>("saving");
        QTest::addColumn<QString>("interest");
        QTest::addColumn<QString>("years");
        QTest::addColumn<QString>("months");
        QTest::addColumn<QString>("expected");
        dataRow("two years, no saving", "$10,000.00", "0", "5.5", "2", "0", "$11,159.98");
        dataRow("one year at 4.25", "$5,000.00", "0", "4.25", "1", "0", "$5,216.69");
        dataRow("no interest: simple sum", "$1,000.00", "$50.00", "", "1", "0", "$1,600.00");
        dataRow("everything empty", "", "0", "", "", "0", "$0.00");
        dataRow("no term: the balance", "$2,500.00", "$40.00", "6", "", "0", "$2,500.00");
        dataRow("balance rounded to cents first", "10000.555", "0", "", "", "0", "$10,000.56");
        dataRow("amounts typed plainly", "10000", "100", "5.5", "2", "6", "$14,678.59");
        dataRow("half-typed rate reads its leading number", "$1,000.00", "0", "12.", "1", "0", "$1,126.83");
        dataRow("months alone", "$1,200.00", "0", "", "0", "11", "$1,200.00");
    }
    void futureValueText()
    {
        QFETCH(QString, balance);
        QFETCH(QString, saving);
        QFETCH(QString, interest);
        QFETCH(QString, years);
        QFETCH(QString, months);
        QFETCH(QString, expected);
        QCOMPARE(td::futureValueText(balance, saving, interest, years, months), expected);
    }

    void largestTypedInputsStayFinite()
    {
        const QString text = td::futureValueText(u"999999999", u"999999999", u"99.9999", u"99", u"11");
        QVERIFY(text.startsWith(QStringLiteral("$6,")));
        const double amount = LeadingNumber(FormatTwoDecimals(text));
        QVERIFY(amount > 6.0e51 && amount < 6.5e51);
    }

    void resultsBeyondANumberShowNothing_data()
    {
        QTest::addColumn<QString>("interest");
        QTest::addColumn<QString>("years");
        dataRow("overflow", "99", "1e300");
        dataRow("negative growth to a fractional power", "-2400", ".05");
    }
    void resultsBeyondANumberShowNothing()
    {
        QFETCH(QString, interest);
        QFETCH(QString, years);
        QCOMPARE(td::futureValueText(u"1000", u"0", interest, years, u"0"), QString());
    }
};

QTEST_APPLESS_MAIN(TestDerivedValues)
#include "test_derived_values.moc"
