#include "commands/maturities.h"
#include "commands/maturities_order.h"
#include "core/register.h"
#include "core/text_values.h"
#include "support/data_rows.h"

#include <QTest>
#include <bit>

using namespace td;
using td::test::dataRow;
namespace mat = td::maturities;

Q_DECLARE_METATYPE(mat::State)

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

// A register of the given deposits, counted and ordered as the window first shows them.
struct Counted {
    Register reg;
    std::vector<mat::Figures> figures;
    std::vector<qint32> order;
    QDate today{2024, 1, 31};

    explicit Counted(const QList<DepositRecord>& deposits)
    {
        for (const DepositRecord& d : deposits)
            reg.appendDeposit(d);
        mat::figuresOfRegister(reg, DateForm(), figures);
        sortBy(mat::TermDateColumn, true);
    }
    bool sortBy(int column, bool ascending, const mat::ProgressStep& step = {})
    {
        return mat::RowOrder(reg, figures, column, ascending, today).sortAll(order, step);
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
        return mat::text(figures.at(row - 1), column, today, reg, row);
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
        Counted c({deposit("A1", termDate)});
        c.today = today;
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
        const mat::Figures figures = mat::figuresOf(deposit("A1", "01/01/2025", text), DateForm());
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
        QCOMPARE(
            mat::totalsText(kept.all, false),
            QStringLiteral("All deposits: 4. Account balance $8.37, future value $8.37, interest to earn "
                           "$0.00."));
    }

    // A count or a sort stopped part-way leaves what it would have replaced.
    void stoppedPartWayChangesNothing()
    {
        Counted c({deposit("B", "01/01/2025"), deposit("A", "01/01/2024")});
        const auto stop = [](qint64, qint64) { return false; };
        std::vector<mat::Figures> figures(1);
        QVERIFY(!mat::figuresOfRegister(c.reg, DateForm(), figures, stop));
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
        QCOMPARE(mat::totalsText(s.active, true),
                 QStringLiteral("Active deposits: 3. Account balance $3,000.50, future value $3,150.75, "
                                "interest to earn $120.25. 1 deposit left out: its values cannot be read."));
        // All adds A3 (500, 525, 25) and A5 (100, 110, 10): an unreadable term date still counts.
        QCOMPARE(mat::totalsText(s.all, false),
                 QStringLiteral("All deposits: 5. Account balance $3,600.50, future value $3,785.75, "
                                "interest to earn $155.25. 1 deposit left out: its values cannot be read."));
        QCOMPARE(mat::totalsText(mat::Totals{}, true),
                 QStringLiteral("Active deposits: 0. Account balance $0.00, future value $0.00, "
                                "interest to earn $0.00."));
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
