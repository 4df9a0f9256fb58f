#include "commands/interest_by_year.h"
#include "core/register.h"
#include "finance/derived_values.h"
#include "finance/elapsed_value.h"
#include "support/data_rows.h"
#include "support/interest_by_year_deposits.h"
#include "support/main_window_world.h"
#include "support/realistic_deposit.h"

#include <QTest>
#include <map>

Q_DECLARE_METATYPE(td::DepositRecord)

using namespace td;
using namespace td::interest_by_year;
using td::test::dataRow;

namespace {

// A deposit with its term date as the grid derives it.
DepositRecord derived(const char* saving, const char* rate, const char* years, const char* months,
                      const char* start, const char* balance)
{
    const DateForm form;
    const QString term = termDateText(*ParseDate(QString::fromLatin1(start), form),
                                      QString::fromLatin1(years), QString::fromLatin1(months), form);
    return test::depositOf({"A", saving, rate, years, months, start, term, balance, "$1.00", "Yes"});
}

Tables counted(const QList<DepositRecord>& deposits, int startMonth)
{
    Register reg;
    for (const DepositRecord& d : deposits)
        reg.appendDeposit(d);
    Tables tables;
    if (!countRegister(reg, DateForm(), startMonth, tables))
        qFatal("the count stopped");
    return tables;
}

// The rows as shown, a line a row without the header: "year|interest|...".
QStringList lines(const YearTable& table, int startMonth, int taxShare = 0)
{
    QStringList lines;
    for (const QStringList& row : shownTable(table, startMonth, taxShare).mid(1))
        lines << row.join(QLatin1Char('|'));
    return lines;
}

}  // namespace

class TestInterestByYear : public QObject {
    Q_OBJECT

private slots:
    // Hand-worked: interest, maturing and held at year end, calendar and July years.
    void yearsOfTheSampleDeposits_data()
    {
        QTest::addColumn<int>("startMonth");
        QTest::addColumn<bool>("includeInactive");
        QTest::addColumn<QStringList>("rows");
        dataRow("calendar, active", 1, false,
                QStringList{"2024|$191.72|$0.00|$4,291.72", "2025|$92.02|$4,483.74|$0.00"});
        dataRow("calendar, all", 1, true,
                QStringList{"2023|$0.00|$0.00|$500.00", "2024|$191.72|$0.00|$4,791.72",
                            "2025|$92.02|$4,983.74|$0.00"});
        dataRow("July, active", 7, false,
                QStringList{"2023–24|$55.53|$0.00|$2,555.53", "2024–25|$217.05|$3,356.91|$1,115.67",
                            "2025–26|$11.16|$1,126.83|$0.00"});
        dataRow("July, all", 7, true,
                QStringList{"2022–23|$0.00|$0.00|$500.00", "2023–24|$55.53|$0.00|$3,055.53",
                            "2024–25|$217.05|$3,856.91|$1,115.67", "2025–26|$11.16|$1,126.83|$0.00"});
    }
    void yearsOfTheSampleDeposits()
    {
        QFETCH(int, startMonth);
        QFETCH(bool, includeInactive);
        QFETCH(QStringList, rows);
        const Tables tables = counted(test::interestByYearSamples(), startMonth);
        const YearTable& table = includeInactive ? tables.all : tables.active;
        QCOMPARE(lines(table, startMonth), rows);
        // The unreadable deposit is active: left out of both, and said so.
        QCOMPARE(table.leftOut, 1);
        QCOMPARE(countText(table, includeInactive),
                 includeInactive ? "All deposits: 4. 1 deposit left out: its values cannot be read."
                                 : "Active deposits: 3. 1 deposit left out: its values cannot be read.");
    }

    // Every year's figure is the shared rule's between the months elapsed by
    // the day before the year and by its last day; the years add up to the
    // whole interest, whatever month years start in.
    void aDepositsYearsAgreeWithItsWholeInterest_data()
    {
        QTest::addColumn<DepositRecord>("deposit");
        QTest::addColumn<int>("startMonth");
        const std::pair<const char*, DepositRecord> deposits[] = {
            {"29 February, savings", derived("$50.00", "4.75", "2", "3", "29/02/2024", "$1,234.56")},
            {"31 January", derived("0", "3.3", "1", "1", "31/01/2023", "$5,000.00")},
            {"long and large", derived("$9,999.99", "9.99", "40", "11", "01/02/2001", "$9,999,999.99")},
            {"no term", derived("0", "5", "0", "0", "15/05/2024", "$100.00")},
        };
        for (const auto& [name, deposit] : deposits) {
            for (const int month : {1, 4, 7})
                QTest::addRow("%s, years from month %d", name, month) << deposit << month;
        }
    }
    void aDepositsYearsAgreeWithItsWholeInterest()
    {
        QFETCH(DepositRecord, deposit);
        QFETCH(int, startMonth);
        const DepositTerms terms = *depositTerms(deposit, DateForm());
        std::vector<DepositYear> years;
        QVERIFY(yearsOf(deposit, DateForm(), startMonth, years));
        QCOMPARE(years.front().year, yearOf(terms.start, startMonth));
        QCOMPARE(years.back().year, yearOf(*ParseDate(deposit[TermDate], DateForm()), startMonth));
        qint64 sum = 0;
        for (const DepositYear& y : years) {
            const int from = monthsElapsed(terms.start, terms.termMonths, lastDayOf(y.year - 1, startMonth));
            const int to = monthsElapsed(terms.start, terms.termMonths, lastDayOf(y.year, startMonth));
            QCOMPARE(y.interest, *interestBetweenCents(terms, from, to));
            const bool last = y.year == years.back().year;
            QCOMPARE(y.heldAtEnd, last ? 0 : *valueAfterMonthsCents(terms, to));
            QCOMPARE(y.maturing, last ? *valueAfterMonthsCents(terms, terms.termMonths) : 0);
            sum += y.interest;
        }
        QCOMPARE(sum, *interestBetweenCents(terms, 0, terms.termMonths));
    }

    // The samples leave out a balance that does not read; so goes a term date
    // that does not read or is not where the start and the term put it.
    void depositsThatDoNotReadAreLeftOut_data()
    {
        QTest::addColumn<QString>("termDate");
        dataRow("term date in another year than the term", "01/03/2030");
        dataRow("term date", "31/02/2025");
    }
    void depositsThatDoNotReadAreLeftOut()
    {
        QFETCH(QString, termDate);
        DepositRecord deposit = derived("0", "5", "1", "0", "01/03/2024", "$100.00");
        deposit[TermDate] = termDate;
        const Tables tables = counted({deposit}, 1);
        QCOMPARE(tables.all.leftOut, 1);
        QVERIFY(tables.all.years.empty());
    }

    // Enough deposits to be shared out among threads: the sums are those of
    // each deposit's years added up in the order of the rows, and sums too
    // large for cents in 64 bits are still found.
    void aLargeRegisterCountsAsItsDeposits_data()
    {
        QTest::addColumn<QString>("balance");
        QTest::addColumn<bool>("tooLarge");
        dataRow("realistic", "", false);
        // Each thread's half of the sum holds in 64 bits, the whole does not.
        dataRow("sums beyond 64 bits", "$2,000,000,000,000.00", true);
    }
    void aLargeRegisterCountsAsItsDeposits()
    {
        QFETCH(QString, balance);
        QFETCH(bool, tooLarge);
        Register reg;
        std::map<int, YearFigures> expected;
        std::vector<DepositYear> years;
        int leftOut = 0;
        for (int n = 0; n < 70'000; ++n) {
            const DepositRecord deposit =
                balance.isEmpty() ? bench::realisticDeposit(n)
                                  : derived("0", "1", "1", "0", "01/01/2024", balance.toLatin1().constData());
            reg.appendDeposit(deposit);
            // Some realistic term dates are not where their terms put them.
            leftOut += yearsOf(deposit, DateForm(), 7, years) ? 0 : 1;
            if (tooLarge)
                continue;  // the sums would overflow here too
            for (const DepositYear& y : years) {
                YearFigures& sum = expected[y.year];
                sum.year = y.year;
                sum.interest += y.interest;
                sum.maturing += y.maturing;
                sum.heldAtEnd += y.heldAtEnd;
            }
        }
        Tables tables;
        QVERIFY(countRegister(reg, DateForm(), 7, tables));
        QCOMPARE(tables.all.deposits, 70'000);
        QCOMPARE(tables.all.leftOut, leftOut);
        QCOMPARE(tables.all.tooLarge, tooLarge);
        if (tooLarge)
            return;
        QCOMPARE(tables.all.years.size(), expected.size());
        for (const YearFigures& figures : tables.all.years) {
            const YearFigures& sum = expected[figures.year];
            QCOMPARE(figures.interest, sum.interest);
            QCOMPARE(figures.maturing, sum.maturing);
            QCOMPARE(figures.heldAtEnd, sum.heldAtEnd);
        }
    }

    void yearNames_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("startMonth");
        QTest::addColumn<QString>("name");
        dataRow("April, a leading zero", 2009, 4, "2009–10");
        dataRow("across a century", 1999, 7, "1999–2000");
    }
    void yearNames()
    {
        QFETCH(int, year);
        QFETCH(int, startMonth);
        QFETCH(QString, name);
        QCOMPARE(yearName(year, startMonth), name);
    }
};

QTEST_GUILESS_MAIN(TestInterestByYear)
#include "test_interest_by_year.moc"
