#include "commands/maturities.h"
#include "commands/maturities_order.h"
#include "commands/maturity_ladder.h"
#include "commands/maturity_reminder.h"
#include "core/register.h"
#include "core/text_values.h"
#include "support/data_rows.h"

#include <QTest>
#include <bit>

using namespace td;
using td::test::dataRow;
namespace mat = td::maturities;

Q_DECLARE_METATYPE(mat::State)
Q_DECLARE_METATYPE(td::DepositRecord)

namespace {

DepositRecord deposit(const QString& account, const QString& termDate, const QString& balance = "$100.00",
                      const QString& futureValue = "$105.00", const QString& active = "Yes",
                      const QString& saving = "0", const QString& years = "1", const QString& months = "0")
{
    DepositRecord d;
    d[AccountNumber] = account;
    d[SaveEachMonth] = saving;
    d[Interest] = "5";
    d[Years] = years;
    d[Months] = months;
    d[StartDate] = "01/01/2023";
    d[TermDate] = termDate;
    d[AccountBalance] = balance;
    d[FutureValue] = futureValue;
    d[Active] = active;
    return d;
}

// A deposit of $10,000.00 at 6% (half a percent a month) for a year and the given start.
DepositRecord running(const QString& start, const QString& saving = "0", const QString& rate = "6")
{
    DepositRecord d = deposit("R1", "01/01/2030", "$10,000.00", "$10,616.78", "Yes", saving);
    d[StartDate] = start;
    d[Interest] = rate;
    return d;
}

// A register of the given deposits, counted and ordered as the window first shows them.
struct Counted {
    Register reg;
    std::vector<mat::Figures> figures;
    std::vector<qint32> order;
    mat::Basis basis{QDate(2024, 1, 31), DateForm(), 0};

    explicit Counted(const QList<DepositRecord>& deposits, QDate today = QDate(2024, 1, 31), int taxShare = 0)
    {
        basis.today = today;
        basis.taxShare = taxShare;
        for (const DepositRecord& d : deposits)
            reg.appendDeposit(d);
        mat::figuresOfRegister(reg, basis, figures);
        sortBy(mat::TermDateColumn, true);
    }
    bool sortBy(int column, bool ascending, const mat::ProgressStep& step = {})
    {
        return mat::RowOrder(reg, figures, column, ascending, basis).sortAll(order, step);
    }
    QStringList accounts() const
    {
        QStringList out;
        for (const qint32 row : order)
            out << reg.cell(row + 1, AccountNumber);
        return out;
    }
    QString text(int column, int row = 1) const
    {
        return mat::text(figures.at(std::size_t(row - 1)), column, basis, reg, row);
    }
};

}  // namespace

class TestMaturities : public QObject {
    Q_OBJECT

private slots:
    void daysToMaturity_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("termDate");
        QTest::addColumn<QString>("days");
        QTest::addColumn<mat::State>("state");
        QTest::addColumn<QString>("status");
        const QDate jan31(2024, 1, 31);
        dataRow("today itself", jan31, "31/01/2024", "0", mat::State::Matured, "Matured");
        dataRow("yesterday", jan31, "30/01/2024", "-1", mat::State::Matured, "Matured");
        dataRow("over the month end", jan31, "01/02/2024", "1", mat::State::DueSoon, "Within 30 days");
        dataRow("29 February", jan31, "29/02/2024", "29", mat::State::DueSoon, "Within 30 days");
        dataRow("30 days across a leap February", jan31, "01/03/2024", "30", mat::State::DueSoon,
                "Within 30 days");
        dataRow("31 days", jan31, "02/03/2024", "31", mat::State::Later, "More than 30 days");
        dataRow("28 Feb to 1 Mar, common year", QDate(2023, 2, 28), "01/03/2023", "1", mat::State::DueSoon,
                "Within 30 days");
        dataRow("28 Feb to 1 Mar, leap year", QDate(2024, 2, 28), "01/03/2024", "2", mat::State::DueSoon,
                "Within 30 days");
        dataRow("a year from 29 February", QDate(2024, 2, 29), "28/02/2025", "365", mat::State::Later,
                "More than 30 days");
        dataRow("over the year end", QDate(2024, 12, 31), "01/01/2025", "1", mat::State::DueSoon,
                "Within 30 days");
        dataRow("matured a leap year ago", QDate(2025, 3, 1), "01/03/2024", "-365", mat::State::Matured,
                "Matured");
        dataRow("another date form", jan31, "2024-03-01", "", mat::State::DateUnreadable,
                "Term date cannot be read");
        dataRow("no date at all", jan31, "", "", mat::State::DateUnreadable, "Term date cannot be read");
    }
    void daysToMaturity()
    {
        QFETCH(QDate, today);
        QFETCH(QString, termDate);
        QFETCH(QString, days);
        QFETCH(mat::State, state);
        QFETCH(QString, status);
        Counted c({deposit("A1", termDate)}, today);
        QCOMPARE(c.text(mat::DaysColumn), days);
        QCOMPARE(c.figures[0].state(today), state);
        QCOMPARE(c.text(mat::StatusColumn), status);
        QCOMPARE(c.text(mat::TermDateColumn), termDate);  // shown as it stands
    }

    // Interest to earn = future value - balance - saving * (years * 12 + months),
    // worked by hand from the figures the details dialog shows.
    void interestToEarn_data()
    {
        QTest::addColumn<QString>("balance");
        QTest::addColumn<QString>("saving");
        QTest::addColumn<QString>("years");
        QTest::addColumn<QString>("months");
        QTest::addColumn<QString>("futureValue");
        QTest::addColumn<QString>("interest");
        // 14678.59 - 10000 - 100 * 30 = 1678.59
        dataRow("monthly savings, 2 years 6 months", "$10,000.00", "$100.00", "2", "6", "$14,678.59",
                "$1,678.59");
        // 11159.98 - 10000
        dataRow("no savings", "$10,000.00", "0", "2", "0", "$11,159.98", "$1,159.98");
        dataRow("no savings, one year", "$5,000.00", "0", "1", "0", "$5,216.69", "$216.69");
        // 1600 - 1000 - 50 * 12 = 0: savings alone at no interest earn nothing
        dataRow("savings at no interest", "$1,000.00", "$50.00", "1", "0", "$1,600.00", "$0.00");
        dataRow("balance that does not read", "abc", "0", "1", "0", "$105.00", "");
        dataRow("future value missing", "$100.00", "0", "1", "0", "", "");
        dataRow("saving that does not read", "$100.00", "$1,00x", "1", "0", "$105.00", "");
        dataRow("part of a year", "$100.00", "$10.00", "1.5", "0", "$105.00", "");
        dataRow("beyond any amount", "$100.00", "0", "1", "0", "1e999", "");
    }
    void interestToEarn()
    {
        QFETCH(QString, balance);
        QFETCH(QString, saving);
        QFETCH(QString, years);
        QFETCH(QString, months);
        QFETCH(QString, futureValue);
        QFETCH(QString, interest);
        const Counted c({deposit("A1", "01/06/2026", balance, futureValue, "Yes", saving, years, months)});
        QCOMPARE(c.text(mat::InterestColumn), interest);
        QCOMPARE(c.figures[0].countsInTotals(), !interest.isEmpty());
        QCOMPARE(c.text(mat::BalanceColumn), balance);
        QCOMPARE(c.text(mat::StatusColumn).contains("not in totals"), interest.isEmpty());
    }

    // The overview reads amounts as every other part of the program does.
    void amountsReadAsTheProgramReadsThem_data()
    {
        QTest::addColumn<QString>("text");
        for (const char* text :
             {"$1,234.56", "1234.5", "-$0.07", "-0", "5.", "1,,2", "$.5", "+5", "1e3", "0.001", "$-5",
              "12abc", "", "-", "$", "999999999999.99", "9999999999999.99", "\t5"})
            dataRow(text, QString::fromUtf8(text));
    }
    void amountsReadAsTheProgramReadsThem()
    {
        QFETCH(QString, text);
        const mat::Figures figures = mat::figuresOf(deposit("A1", "01/01/2025", text), Counted({}).basis);
        const std::optional<double> expected = ParseNumber(text);
        QCOMPARE(std::isnan(figures.balance), !expected);
        if (expected)
            QCOMPARE(std::bit_cast<quint64>(figures.balance), std::bit_cast<quint64>(*expected));
    }

    void sortsByValueNotText_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("ascending");
        QTest::addColumn<QStringList>("order");
        // Balances $9.00 (A9), $10.00 (A10), $100.00 (B1), unreadable (C); term
        // dates 10/01/2024 (A10), 09/02/2024 (A9), 01/01/2025 (B1), unreadable (C).
        dataRow("balance up: $9.00 before $10.00", int(mat::BalanceColumn), true,
                QStringList{"A9", "A10", "B1", "C"});
        dataRow("balance down, unreadable still last", int(mat::BalanceColumn), false,
                QStringList{"B1", "A10", "A9", "C"});
        dataRow("term date as a date", int(mat::TermDateColumn), true, QStringList{"A10", "A9", "B1", "C"});
        dataRow("term date down", int(mat::TermDateColumn), false, QStringList{"B1", "A9", "A10", "C"});
        dataRow("days", int(mat::DaysColumn), true, QStringList{"A10", "A9", "B1", "C"});
        dataRow("status by urgency", int(mat::StatusColumn), true, QStringList{"A10", "A9", "B1", "C"});
        dataRow("account numbers, digits as numbers", int(mat::AccountNumberColumn), true,
                QStringList{"A9", "A10", "B1", "C"});
        dataRow("future value", int(mat::FutureValueColumn), true, QStringList{"A9", "A10", "B1", "C"});
        dataRow("interest", int(mat::InterestColumn), false, QStringList{"B1", "A10", "A9", "C"});
        dataRow("value today", int(mat::ValueTodayColumn), true, QStringList{"A9", "A10", "B1", "C"});
        dataRow("interest so far, down", int(mat::InterestSoFarColumn), false,
                QStringList{"B1", "A10", "A9", "C"});
        dataRow("active, ties in term date order", int(mat::ActiveColumn), true,
                QStringList{"A10", "A9", "C", "B1"});
    }
    void sortsByValueNotText()
    {
        QFETCH(int, column);
        QFETCH(bool, ascending);
        QFETCH(QStringList, order);
        Counted c({deposit("A9", "09/02/2024", "$9.00", "$9.50", "No"),
                   deposit("B1", "01/01/2025", "$100.00", "$120.00", "Yes"),
                   deposit("C", "31-12-2024", "lots", "more", "No"),
                   deposit("A10", "10/01/2024", "$10.00", "$11.00", "No")});
        QCOMPARE(c.accounts(), (QStringList{"A10", "A9", "B1", "C"}));  // term date order at first
        QVERIFY(c.sortBy(column, ascending));
        QCOMPARE(c.accounts(), order);
    }

    // Account numbers as the sort orders them: digits as numbers, letters
    // regardless of case, and texts equal but for case or leading zeros in
    // one fixed order.
    void accountNumbersInOrder_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        dataRow("9 before 10", "A9", "A10");
        dataRow("digits as one number", "A2B", "A10A");
        dataRow("case does not count", "abc", "ABD");
        dataRow("equal but for case: capital first", "A1", "a1");
        dataRow("equal but for leading zeros: zero first", "A01", "A1");
        dataRow("leading zeros do not add", "A007", "A10");
        dataRow("a dash before a digit", "A-1", "A1");
        dataRow("a digit before a letter", "A1", "AB");
        dataRow("shorter first", "A", "A0");
        dataRow("accented letter after plain", "AZ", "\u00C4");
        dataRow("a number longer than a byte counts", QString(300, '9'), "1" + QString(300, '0'));
    }
    void accountNumbersInOrder()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        for (const bool ascending : {true, false}) {
            Counted c({deposit(second, "01/01/2025"), deposit(first, "01/01/2025")});
            QVERIFY(c.sortBy(mat::AccountNumberColumn, ascending));
            QCOMPARE(c.accounts(), ascending ? (QStringList{first, second}) : (QStringList{second, first}));
        }
    }

    // The window changes its totals by each deposit's figures; whatever comes
    // and goes, they read as if added afresh.
    void totalsByDifferenceAreExact()
    {
        QList<DepositRecord> deposits;
        for (const char* amount : {"$0.10", "$0.20", "$1,000,000,000,000.01", "$0.30", "0.001", "$7.77"})
            deposits << deposit("A", "01/01/2025", QString(amount), QString(amount));
        const Counted all(deposits);
        mat::Summary kept = mat::summarise(all.figures);
        for (const int gone : {2, 4})
            kept.remove(all.figures[std::size_t(gone)]);
        deposits.removeAt(4);
        deposits.removeAt(2);
        const mat::Summary afresh = mat::summarise(Counted(deposits).figures);
        QCOMPARE(mat::totalsText(kept.all, false), mat::totalsText(afresh.all, false));
        // Each value today at 5% for the year: 0.1051, 0.2102, 0.3153, 8.1675.
        QCOMPARE(
            mat::totalsText(kept.all, false),
            QStringLiteral("All deposits: 4. Account balance $8.37, value today $8.81, future value $8.37, "
                           "interest to earn $0.00."));
    }

    // A count or a sort stopped part-way leaves what it would have replaced.
    void stoppedPartWayChangesNothing()
    {
        Counted c({deposit("B", "01/01/2025"), deposit("A", "01/01/2024")});
        const auto stop = [](qint64, qint64) { return false; };
        std::vector<mat::Figures> figures(1);
        QVERIFY(!mat::figuresOfRegister(c.reg, c.basis, figures, stop));
        QCOMPARE(figures.size(), std::size_t(1));
        QVERIFY(!c.sortBy(mat::AccountNumberColumn, true, stop));
        QCOMPARE(c.accounts(), (QStringList{"A", "B"}));
    }

    void buildTakesEveryDepositRowAndNoOther()
    {
        QCOMPARE(Counted({}).figures.size(), std::size_t(0));
        const Counted c({deposit("A1", "01/01/2025"), deposit("A2", "01/01/2024")});
        QCOMPARE(c.figures.size(), std::size_t(2));
        QCOMPARE(c.order, (std::vector<qint32>{1, 0}));
    }

    void totalsLeaveOutWhatDoesNotRead()
    {
        const Counted c({
            deposit("A1", "01/01/2025", "$1,000.00", "$1,050.00", "Yes"),
            deposit("A2", "01/01/2025", "$2,000.50", "$2,100.75", "Yes", "$10.00", "0", "3"),
            deposit("A3", "01/01/2025", "$500.00", "$525.00", "No"),
            deposit("A4", "01/01/2025", "12abc", "$525.00", "Yes"),    // does not read
            deposit("A5", "2025-01-01", "$100.00", "$110.00", "yes"),  // not "Yes": inactive
        });
        const mat::Summary s = mat::summarise(c.figures);
        QCOMPARE(s.active.deposits, 3);
        QCOMPARE(s.active.leftOut, 1);
        QCOMPARE(s.all.deposits, 5);
        QCOMPARE(s.all.leftOut, 1);
        // Active: 1000 + 2000.50; 1050 + 2100.75; 50 + (2100.75 - 2000.50 - 30) = 120.25.
        // Value today, at 5% from 01/01/2023, past the term: 1000 * 1.0511619 and
        // 2000.50 * 1.0125522 + 10 * 3.0125347.
        QCOMPARE(mat::totalsText(s.active, true),
                 QStringLiteral(
                     "Active deposits: 3. Account balance $3,000.50, value today $3,106.90, future value "
                     "$3,150.75, interest to earn $120.25. 1 deposit left out: its values cannot be "
                     "read."));
        // All adds A3 (500, 525.58, 525, 25) and A5 (100, 105.12, 110, 10): an unreadable term date still
        // counts.
        QCOMPARE(
            mat::totalsText(s.all, false),
            QStringLiteral("All deposits: 5. Account balance $3,600.50, value today $3,737.60, future value "
                           "$3,785.75, interest to earn $155.25. 1 deposit left out: its values cannot be "
                           "read."));
        QCOMPARE(mat::totalsText(mat::Totals{}, true),
                 QStringLiteral(
                     "Active deposits: 0. Account balance $0.00, value today $0.00, future value $0.00, "
                     "interest to earn $0.00."));
    }

    // The value after the whole months elapsed by today, and that less the
    // balance and the savings paid in so far, worked out by hand:
    // 10000 * 1.005^n + saving * (1.005^n - 1) / 0.005.
    void valueTodayAndInterestSoFar_data()
    {
        QTest::addColumn<DepositRecord>("record");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("valueToday");
        QTest::addColumn<QString>("interestSoFar");
        dataRow("before the start", running("01/03/2024"), QDate(2024, 1, 31), "$10,000.00", "$0.00");
        dataRow("the day before an anniversary: 5 months", running("15/01/2024"), QDate(2024, 7, 14),
                "$10,252.51", "$252.51");
        dataRow("on the anniversary: 6 months", running("15/01/2024"), QDate(2024, 7, 15), "$10,303.78",
                "$303.78");
        // 10303.78 + 100 * 6.07550; less 10000 and 6 * 100 paid in
        dataRow("with monthly savings", running("15/01/2024", "$100.00"), QDate(2024, 7, 15), "$10,911.33",
                "$311.33");
        dataRow("31 January's anniversary on 29 February", running("31/01/2024"), QDate(2024, 2, 29),
                "$10,050.00", "$50.00");
        dataRow("past the term: the future value", running("15/01/2023"), QDate(2024, 1, 31), "$10,616.78",
                "$616.78");
        dataRow("start date that does not read", running("2024-01-15"), QDate(2024, 7, 15), "", "");
        dataRow("rate that does not read", running("15/01/2024", "0", "6.1.2"), QDate(2024, 7, 15), "", "");
    }
    void valueTodayAndInterestSoFar()
    {
        QFETCH(DepositRecord, record);
        QFETCH(QDate, today);
        QFETCH(QString, valueToday);
        QFETCH(QString, interestSoFar);
        const Counted c({record}, today);
        QCOMPARE(c.text(mat::ValueTodayColumn), valueToday);
        QCOMPARE(c.text(mat::InterestSoFarColumn), interestSoFar);
        QCOMPARE(c.figures[0].countsInTotals(), !valueToday.isEmpty());
        QCOMPARE(c.text(mat::StatusColumn).contains("not in totals"), valueToday.isEmpty());
    }

    // Tax is each deposit's interest to earn times the share, rounded to the
    // cent; the totals add the deposits' rounded taxes.
    void totalsWithAndWithoutTax_data()
    {
        QTest::addColumn<int>("share");
        QTest::addColumn<QStringList>("taxes");
        QTest::addColumn<QString>("active");
        QTest::addColumn<QString>("all");
        // At 12% for a year, counted on 31/01/2024: X1 started 3 months ago
        // (1000 * 1.01^3), X2 one month ago with $100.00 a month (2000 * 1.01 + 100),
        // X3 starts tomorrow. Interest: 126.83, 3521.90 - 2000 - 1200 = 321.90, 63.41.
        dataRow(
            "no tax", 0, QStringList{"", "", ""},
            "Active deposits: 2. Account balance $3,000.00, value today $3,150.30, future value $4,648.73, "
            "interest to earn $448.73.",
            "All deposits: 3. Account balance $3,500.00, value today $3,650.30, future value $5,212.14, "
            "interest to earn $512.14.");
        // 13.31715, 33.7995 and 6.65805
        dataRow(
            "10.5%: halves up", 1050, QStringList{"$13.32", "$33.80", "$6.66"},
            "Active deposits: 2. Account balance $3,000.00, value today $3,150.30, future value $4,648.73, "
            "interest to earn $448.73, tax $47.12, net interest $401.61.",
            "All deposits: 3. Account balance $3,500.00, value today $3,650.30, future value $5,212.14, "
            "interest to earn $512.14, tax $53.78, net interest $458.36.");
        dataRow(
            "all of it", 10000, QStringList{"$126.83", "$321.90", "$63.41"},
            "Active deposits: 2. Account balance $3,000.00, value today $3,150.30, future value $4,648.73, "
            "interest to earn $448.73, tax $448.73, net interest $0.00.",
            "All deposits: 3. Account balance $3,500.00, value today $3,650.30, future value $5,212.14, "
            "interest to earn $512.14, tax $512.14, net interest $0.00.");
    }
    void totalsWithAndWithoutTax()
    {
        QFETCH(int, share);
        QFETCH(QStringList, taxes);
        QFETCH(QString, active);
        QFETCH(QString, all);
        auto at12 = [](const QString& account, const QString& start, const QString& balance,
                       const QString& futureValue, const QString& active, const QString& saving) {
            DepositRecord d = deposit(account, "01/01/2025", balance, futureValue, active, saving);
            d[Interest] = "12";
            d[StartDate] = start;
            return d;
        };
        const Counted c({at12("X1", "31/10/2023", "$1,000.00", "$1,126.83", "Yes", "0"),
                         at12("X2", "31/12/2023", "$2,000.00", "$3,521.90", "Yes", "$100.00"),
                         at12("X3", "01/02/2024", "$500.00", "$563.41", "No", "0")},
                        QDate(2024, 1, 31), share);
        QStringList shown;
        for (int row = 1; row <= 3; ++row)
            shown << (share > 0 ? c.text(mat::TaxColumn, row) : QString());
        QCOMPARE(shown, taxes);
        if (share == 1050)
            QCOMPARE(c.text(mat::NetInterestColumn, 2), QStringLiteral("$288.10"));
        const mat::Summary summary = mat::summarise(c.figures, share);
        QCOMPARE(mat::totalsText(summary.active, true, share), active);
        QCOMPARE(mat::totalsText(summary.all, false, share), all);
    }

    // The future values of the active deposits maturing in each of 24
    // calendar months from the current one; matured ones are left out.
    void ladderTakesTheActiveDepositsOfEachMonth()
    {
        const QDate today(2024, 1, 15);
        const Counted c({deposit("TODAY", "15/01/2024", "$1.00", "$1.00"),  // matured today
                         deposit("JAN1", "16/01/2024", "$1.00", "$10.00"),
                         deposit("JAN2", "31/01/2024", "$1.00", "$20.05"),
                         deposit("FEB", "01/02/2024", "$1.00", "$300.00"),
                         deposit("LEAP", "29/02/2024", "$1.00", "$0.10"),
                         deposit("LAST", "31/12/2025", "$1.00", "$7,000.00"),
                         deposit("BEYOND", "01/01/2026", "$1.00", "$1.00"),
                         deposit("OFF", "20/01/2024", "$1.00", "$1.00", "No"),
                         deposit("ODD", "20/01/2024", "$1.00", "some")},
                        today);
        mat::Ladder ladder = mat::ladderOf(c.figures, today);
        QList<double> expected(mat::Ladder::kMonths, 0.0);
        expected[0] = 30.05;
        expected[1] = 300.10;
        expected[23] = 7000;
        for (int i = 0; i < mat::Ladder::kMonths; ++i) {
            QCOMPARE(ladder.month(i), QDate(2024, 1, 1).addMonths(i));
            QCOMPARE(ladder.amount(i), expected[i]);
        }
        ladder.remove(c.figures[1]);
        QCOMPARE(ladder.amount(0), 20.05);
        QCOMPARE(ladder.deposits(0), 1);
    }

    // Active deposits due within the days (those matured and still active
    // too); the one with the earliest term date is named, wherever it is.
    void remindersCountTheActiveDepositsDue_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("body");
        dataRow("off", 0, 0, "");
        dataRow("matured but active, alone", 13, 1,
                "1 active deposit matures by 13/02/2024 or has matured: MATURED, term date 01/12/2023.");
        dataRow("the last day counts", 14, 2,
                "2 active deposits mature by 14/02/2024 or have matured. The earliest is MATURED, term date "
                "01/12/2023.");
        dataRow("a later one, never the inactive", 20, 3,
                "3 active deposits mature by 20/02/2024 or have matured. The earliest is MATURED, term date "
                "01/12/2023.");
    }
    void remindersCountTheActiveDepositsDue()
    {
        QFETCH(int, days);
        QFETCH(int, count);
        QFETCH(QString, body);
        const Counted c({deposit("LATER", "20/02/2024"), deposit("SOON", "14/02/2024"),
                         deposit("OFF", "01/02/2024", "$1.00", "$1.00", "No"),
                         deposit("MATURED", "01/12/2023"), deposit("ODD", "2024-02-01")});
        const mat::DueDeposits due = mat::dueWithin(c.reg, DateForm(), c.basis.today, days);
        QCOMPARE(due.count, count);
        if (count == 0)
            return;
        const Notification reminder = mat::reminderOf(due, c.reg, DateForm());
        QCOMPARE(reminder.summary, QStringLiteral("Term deposits due"));
        QCOMPARE(reminder.body, body);
        QCOMPARE(reminder.actionLabel, QStringLiteral("Show Maturities"));
    }

    void rollOverStartsTheNextTermFromTheOldOne_data()
    {
        QTest::addColumn<QString>("saving");
        QTest::addColumn<QString>("months");
        dataRow("no monthly savings", "0", "0");
        dataRow("monthly savings and months", "$100.00", "6");
    }
    void rollOverStartsTheNextTermFromTheOldOne()
    {
        QFETCH(QString, saving);
        QFETCH(QString, months);
        DepositRecord old =
            deposit("A1", "31/07/2026", "$10,000.00", "$14,678.59", "No", saving, "2", months);
        const DepositRecord next = mat::rolledOver(old);
        QCOMPARE(next[AccountNumber], QStringLiteral("A1"));
        QCOMPARE(next[SaveEachMonth], saving);
        QCOMPARE(next[Interest], QStringLiteral("5"));
        QCOMPARE(next[Years], QStringLiteral("2"));
        QCOMPARE(next[Months], months);
        QCOMPARE(next[StartDate], QStringLiteral("31/07/2026"));
        QCOMPARE(next[AccountBalance], QStringLiteral("$14,678.59"));
        QCOMPARE(next[TermDate], QString());
        QCOMPARE(next[FutureValue], QString());
        QCOMPARE(next[Active], QStringLiteral("Yes"));
    }
};

QTEST_GUILESS_MAIN(TestMaturities)
#include "test_maturities.moc"
