#include "core/text_values.h"
#include "finance/derived_values.h"
#include "finance/elapsed_value.h"
#include "support/data_rows.h"

#include <QTest>

Q_DECLARE_METATYPE(td::DepositRecord)

using namespace td;
using td::test::dataRow;

namespace {

DepositRecord deposit(const char* saving, const char* rate, const char* years, const char* months,
                      const char* start, const char* balance)
{
    DepositRecord r;
    r[AccountNumber] = QStringLiteral("A1");
    r[SaveEachMonth] = QString::fromLatin1(saving);
    r[Interest] = QString::fromLatin1(rate);
    r[Years] = QString::fromLatin1(years);
    r[Months] = QString::fromLatin1(months);
    r[StartDate] = QString::fromLatin1(start);
    r[AccountBalance] = QString::fromLatin1(balance);
    return r;
}

}  // namespace

class TestElapsedValue : public QObject {
    Q_OBJECT

private slots:
    void monthsElapsed_data()
    {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<int>("term");
        QTest::addColumn<QDate>("at");
        QTest::addColumn<int>("expected");
        dataRow("before the start", QDate(2024, 3, 15), 12, QDate(2024, 3, 1), 0);
        dataRow("on the start", QDate(2024, 3, 15), 12, QDate(2024, 3, 15), 0);
        dataRow("the day before an anniversary", QDate(2024, 3, 15), 12, QDate(2024, 5, 14), 1);
        dataRow("an anniversary counts on its day", QDate(2024, 3, 15), 12, QDate(2024, 5, 15), 2);
        dataRow("31 January's anniversary is February's last day", QDate(2023, 1, 31), 12, QDate(2023, 2, 28),
                1);
        dataRow("and in a leap year the 29th", QDate(2024, 1, 31), 12, QDate(2024, 2, 28), 0);
        dataRow("each anniversary from the start, not the last", QDate(2023, 1, 31), 12, QDate(2023, 3, 30),
                1);
        dataRow("never above the term", QDate(2020, 1, 1), 6, QDate(2026, 1, 1), 6);
        dataRow("no term", QDate(2020, 1, 1), 0, QDate(2026, 1, 1), 0);
    }
    void monthsElapsed()
    {
        QFETCH(QDate, start);
        QFETCH(int, term);
        QFETCH(QDate, at);
        QFETCH(int, expected);
        QCOMPARE(td::monthsElapsed(start, term, at), expected);
    }

    // The count is the anniversaries start + k months (QDate's month
    // arithmetic, which ends short months on their last day) on or before
    // the date, for every day over several years around month ends and 29 February.
    void monthsElapsedCountsEveryAnniversary()
    {
        for (const QDate start : {QDate(2023, 1, 31), QDate(2024, 2, 29), QDate(2023, 12, 30),
                                  QDate(2024, 3, 1), QDate(2023, 8, 31)}) {
            const int term = 40;
            for (QDate at = start.addDays(-3); at < start.addMonths(term + 2); at = at.addDays(1)) {
                int expected = 0;
                while (expected < term && start.addMonths(expected + 1) <= at)
                    ++expected;
                QCOMPARE(td::monthsElapsed(start, term, at), expected);
            }
        }
    }

    // The value part-way is the grid's future value of that many months
    // rounded as the grid rounds it, over enough amounts and rates that many
    // land within a hair of half a cent.
    void valueRoundsAsTheGridRounds()
    {
        int checked = 0;
        for (qint64 balance = 1; balance < 40'000'000'000; balance = balance * 3 + 7) {
            for (const double rate : {0.01, 3.3, 4.75, 5.5, 9.99, 17.0}) {
                for (qint64 step = 0; step < 500; ++step) {
                    const DepositTerms terms{QDate(2020, 1, 1), balance + step, step % 3 ? 0 : 1234 + step,
                                             rate, 120};
                    const int months = int(1 + step % 120);
                    const double value = futureValue(double(terms.balanceCents) / 100,
                                                     double(terms.savingCents) / 100, rate, 0, months);
                    QCOMPARE(valueAfterMonthsCents(terms, months), RoundToCents(RoundSignificant15(value)));
                    ++checked;
                }
            }
        }
        QVERIFY(checked > 50'000);
        // $1.00 for a month at 6% is $1.005, a half cent, which the grid rounds up.
        for (qint64 balance = 100; balance <= 20'000; balance += 100) {
            const DepositTerms terms{QDate(2020, 1, 1), balance, 0, 6, 12};
            QCOMPARE(valueAfterMonthsCents(terms, 1),
                     RoundToCents(RoundSignificant15(double(balance) / 100 * 1.005)));
        }
        QCOMPARE(valueAfterMonthsCents(DepositTerms{QDate(2020, 1, 1), 100, 0, 6, 12}, 1), qint64(101));
    }

    // At the end of the term the value is the future value the grid shows,
    // to the cent, and the spans of any split add up to the whole interest.
    void valueAtTheEndIsTheFutureValue_data()
    {
        QTest::addColumn<DepositRecord>("record");
        dataRow("balance only", deposit("0", "5.25", "2", "6", "31/01/2024", "10000.00"));
        dataRow("with savings", deposit("150.55", "4.1", "3", "0", "15/07/2022", "2500.50"));
        dataRow("no interest", deposit("100.00", "0", "1", "0", "01/01/2025", "1000.00"));
        dataRow("long and large", deposit("9999.99", "9.99", "40", "11", "01/02/2001", "9999999.99"));
    }
    void valueAtTheEndIsTheFutureValue()
    {
        QFETCH(DepositRecord, record);
        const std::optional<DepositTerms> terms = depositTerms(record, DateForm());
        QVERIFY(terms);
        const QString grid = futureValueText(record[AccountBalance], record[SaveEachMonth], record[Interest],
                                             record[Years], record[Months]);
        QCOMPARE(FormatMoney(double(*valueAfterMonthsCents(*terms, terms->termMonths)) / 100), grid);

        const qint64 whole = *interestBetweenCents(*terms, 0, terms->termMonths);
        qint64 sum = 0;
        for (int from = 0; from < terms->termMonths; from += 7)
            sum += *interestBetweenCents(*terms, from, std::min(from + 7, terms->termMonths));
        QCOMPARE(sum, whole);
    }

    void unreadableTermsGiveNothing_data()
    {
        QTest::addColumn<DepositRecord>("record");
        dataRow("start date", deposit("0", "5", "1", "0", "31/02/2024", "100.00"));
        dataRow("balance", deposit("0", "5", "1", "0", "01/02/2024", "lots"));
        dataRow("rate", deposit("0", "5.1.2", "1", "0", "01/02/2024", "100.00"));
        dataRow("part of a year", deposit("0", "5", "1.5", "0", "01/02/2024", "100.00"));
    }
    void unreadableTermsGiveNothing()
    {
        QFETCH(DepositRecord, record);
        QVERIFY(!depositTerms(record, DateForm()));
    }

    void tax_data()
    {
        QTest::addColumn<qint64>("interest");
        QTest::addColumn<int>("share");
        QTest::addColumn<qint64>("expected");
        dataRow("off", qint64(12345), 0, qint64(0));
        dataRow("10.5% rounds half up", qint64(1000), 1050, qint64(105));
        dataRow("a half cent goes up", qint64(5), 1000, qint64(1));
        dataRow("less than a half goes down", qint64(4), 1000, qint64(0));
        dataRow("all of it", qint64(98765), 10000, qint64(98765));
        dataRow("negative, away from zero", qint64(-5), 1000, qint64(-1));
    }
    void tax()
    {
        QFETCH(qint64, interest);
        QFETCH(int, share);
        QFETCH(qint64, expected);
        QCOMPARE(taxCents(interest, share), expected);
    }

    void roundToCents_data()
    {
        QTest::addColumn<double>("amount");
        QTest::addColumn<qint64>("expected");
        dataRow("half away from zero", 0.125, qint64(13));
        dataRow("a binary near-half takes 15 digits first", 1.005, qint64(101));
        dataRow("negative", -2.675, qint64(-268));
        dataRow("large", 123456789012.345, qint64(12345678901235));
    }
    void roundToCents()
    {
        QFETCH(double, amount);
        QFETCH(qint64, expected);
        QCOMPARE(RoundToCents(amount), std::optional<qint64>(expected));
        QCOMPARE(FormatTwoDecimals(double(expected) / 100), FormatTwoDecimals(amount));
    }
};

QTEST_APPLESS_MAIN(TestElapsedValue)
#include "test_elapsed_value.moc"
