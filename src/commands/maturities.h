#pragma once

#include "core/date_form.h"
#include "core/deposit_record.h"

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

namespace td {

class Register;

// The maturities overview: every deposit by term date, what it will be worth
// and what it will earn, with totals. Values are read from the register's
// texts; a text that does not read is shown as it stands and kept out of the
// totals, never guessed at.
namespace maturities {

enum Column : int {
    AccountNumberColumn = 0,
    TermDateColumn,
    DaysColumn,
    StatusColumn,
    BalanceColumn,
    FutureValueColumn,
    InterestColumn,
    ActiveColumn,
    ColumnCount
};

QString headerText(int column);

// Deposits that mature within this many days are marked as due soon.
inline constexpr int kDueSoonDays = 30;

enum class State { Matured, DueSoon, Later, DateUnreadable };

// A deposit's place in the overview. Only the values it is sorted and
// totalled by are kept; the texts are made when shown (see text()), so a
// register of a million deposits needs no second copy of them.
struct Row {
    int registerRow = 0;
    QString account;     // the deposit's account number, to sort by and to find it again
    QString activeText;  // its Active text, to sort by
    std::optional<QDate> termDate;
    std::optional<qint64> days;  // from today to the term date; 0 is today, negative is past
    std::optional<double> balance;
    std::optional<double> futureValue;
    std::optional<double> interest;  // future value less balance less the savings paid in
    State state = State::DateUnreadable;

    bool isActive() const { return activeText == QLatin1String("Yes"); }
    // A row whose amounts all read takes part in the totals.
    bool countsInTotals() const { return balance && futureValue && interest; }
};

// The savings paid in over the term: the monthly saving ("0" when switched
// off) times years * 12 + months. Nothing when a text does not read as an
// amount or as a whole count.
std::optional<double> savingsPaidIn(const QString& saveEachMonth, const QString& years,
                                    const QString& months);

State stateOf(qint64 days);

// One row of the overview for a deposit.
Row rowFor(const DepositRecord& deposit, int registerRow, QDate today, const DateForm& form);

// The text a column of the overview shows for a row whose deposit is given:
// the deposit's own texts as they stand, the days, interest and status as
// worked out.
QString text(const Row& row, const DepositRecord& deposit, int column);

// Every deposit row of the register, in term date order (unreadable dates
// last, ties in register order).
std::vector<Row> build(const Register& reg, QDate today, const DateForm& form);

// Sorts by the column's value: dates as dates, days and amounts as numbers,
// the status by urgency, account numbers with their digits as numbers. A
// value that does not read goes last in either order. Ties keep term date
// order, then register order.
void sort(std::vector<Row>& rows, int column, bool ascending);

struct Totals {
    int deposits = 0;  // rows looked at
    int leftOut = 0;   // of which kept out for values that do not read
    double balance = 0;
    double futureValue = 0;
    double interest = 0;
};

struct Summary {
    Totals active;
    Totals all;
};

Summary summarise(const std::vector<Row>& rows);

// A sentence that says the totals and what was left out, for the window and
// for a screen reader alike.
QString totalsText(const Totals& totals, bool activeOnly);

// What the details dialog starts from when a matured deposit is rolled over:
// the same account number, saving, rate and term, starting on the old term
// date with the old future value as its balance, active. The derived term
// date and future value are left for the dialog to compute.
DepositRecord rolledOver(const DepositRecord& matured);

}  // namespace maturities
}  // namespace td
