#pragma once

#include "core/date_form.h"
#include "core/deposit_record.h"

#include <QDate>
#include <QString>
#include <cmath>
#include <functional>
#include <limits>
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

State stateOf(qint64 days);

// What the overview keeps of a deposit: only what it sorts and totals by,
// packed, since a register may hold millions. The texts are read from the
// register when shown (see text()).
struct Figures {
    static constexpr qint32 kNoDate = std::numeric_limits<qint32>::min();
    static constexpr double kUnread = std::numeric_limits<double>::quiet_NaN();

    double balance = kUnread;
    double futureValue = kUnread;
    double interest = kUnread;  // future value less balance less the savings paid in
    qint32 termDay = kNoDate;   // the term date as a Julian day
    bool active = false;        // Active reads "Yes"

    bool hasTermDate() const { return termDay != kNoDate; }
    std::optional<qint64> days(QDate today) const;  // 0 is today, negative is past
    State state(QDate today) const;
    // A deposit whose amounts all read takes part in the totals.
    bool countsInTotals() const
    {
        return !std::isnan(balance) && !std::isnan(futureValue) && !std::isnan(interest);
    }
};

// The savings paid in over the term: the monthly saving ("0" when switched
// off) times years * 12 + months. Nothing when a text does not read as an
// amount or as a whole count.
std::optional<double> savingsPaidIn(QStringView saveEachMonth, QStringView years, QStringView months);

Figures figuresOf(const DepositRecord& deposit, const DateForm& form);
// The figures of register row `row`, read from its record without a text made.
Figures figuresAt(const Register& reg, int row, const DateForm& form);

using ProgressStep = std::function<bool(qint64 done, qint64 total)>;

// Room for the rows added after a count: the first Add then copies nothing.
// Memory not yet written takes no room.
inline std::size_t withRoomToGrow(std::size_t rows) { return rows + rows / 16 + 64; }

// The figures of every deposit row, register row r at r - 1. False, and
// `figures` untouched, when `step` says to stop.
bool figuresOfRegister(const Register& reg, const DateForm& form, std::vector<Figures>& figures,
                       const ProgressStep& step = {});

// The text a column shows for register row `row` with these figures: the
// deposit's own texts as they stand, the days, interest and status as worked out.
QString text(const Figures& figures, int column, QDate today, const Register& reg, int row);

// A total that taking an amount away again leaves exactly as before, in
// whatever order amounts come and go: amounts in whole cents (what the
// program writes) are summed as cents, exactly; any other as a double.
class Sum {
public:
    void add(double amount) { change(amount, 1); }
    void remove(double amount) { change(amount, -1); }
    double value() const;

private:
    void change(double amount, int sign);
    __int128 m_cents = 0;  // wide enough for any count of rows of any amount in cents
    double m_rest = 0;
};

struct Totals {
    int deposits = 0;  // rows looked at
    int leftOut = 0;   // of which kept out for values that do not read
    Sum balance;
    Sum futureValue;
    Sum interest;
};

struct Summary {
    Totals active;
    Totals all;

    void add(const Figures& figures) { change(figures, 1); }
    void remove(const Figures& figures) { change(figures, -1); }

private:
    void change(const Figures& figures, int sign);
};

Summary summarise(const std::vector<Figures>& figures);

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
