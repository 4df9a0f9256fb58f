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

// The maturities overview: every deposit by term date, what it is worth
// today, what it will be worth and what it will earn, with totals. Values are
// read from the register's texts; a text that does not read is shown as it
// stands and kept out of the totals, never guessed at.
namespace maturities {

// Tax and Net Interest are shown only while a share of interest is withheld
// as tax; the columns after them then move two places to the left.
enum Column : int {
    AccountNumberColumn = 0,
    TermDateColumn,
    DaysColumn,
    StatusColumn,
    BalanceColumn,
    ValueTodayColumn,
    InterestSoFarColumn,
    FutureValueColumn,
    InterestColumn,
    TaxColumn,
    NetInterestColumn,
    ActiveColumn,
    ColumnCount
};

QString headerText(int column);

// What the shown figures depend on besides the deposit's own texts.
struct Basis {
    QDate today;       // days to maturity and the value today are counted to this day
    DateForm form;     // of the register's dates
    int taxShare = 0;  // of interest withheld as tax, in hundredths of a percent; 0: none

    bool showsTax() const { return taxShare > 0; }
};

// Deposits that mature within this many days are marked as due soon.
inline constexpr int kDueSoonDays = 30;

enum class State { Matured, DueSoon, Later, DateUnreadable };

State stateOf(qint64 days);

// What the overview keeps of a deposit: only what it sorts and totals by,
// packed into 36 bytes, since a register may hold millions. The texts are
// read from the register when shown (see text()).
#pragma pack(push, 4)
struct Figures {
    static constexpr qint32 kNoDate = -(1 << 30);
    static constexpr double kUnread = std::numeric_limits<double>::quiet_NaN();

    double balance = kUnread;
    double futureValue = kUnread;
    double interest = kUnread;      // future value less balance less the savings paid in
    double valueToday = kUnread;    // after the months elapsed by the day counted on
    qint32 termDay : 31 = kNoDate;  // the term date as a Julian day
    bool active : 1 = false;        // Active reads "Yes"

    bool hasTermDate() const { return termDay != kNoDate; }
    std::optional<qint64> days(QDate today) const;  // 0 is today, negative is past
    State state(QDate today) const;
    // A deposit whose amounts all read takes part in the totals.
    bool countsInTotals() const
    {
        return !std::isnan(balance) && !std::isnan(futureValue) && !std::isnan(interest) &&
               !std::isnan(valueToday);
    }
};
#pragma pack(pop)
static_assert(sizeof(Figures) == 36);

// The tax on an amount of interest at the share (hundredths of a percent),
// rounded to the cent, and the interest less that tax; nothing read, nothing given.
double taxOn(double interest, int taxShare);
double netOf(double interest, int taxShare);

// The savings paid in over the term: the monthly saving ("0" when switched
// off) times years * 12 + months. Nothing when a text does not read as an
// amount or as a whole count.
std::optional<double> savingsPaidIn(QStringView saveEachMonth, QStringView years, QStringView months);

Figures figuresOf(const DepositRecord& deposit, const Basis& basis);
// The figures of register row `row`, read from its record without a text made.
Figures figuresAt(const Register& reg, int row, const Basis& basis);
// The interest credited by the day counted on: the value today less the
// balance less the savings paid in so far; nothing when a term does not read.
double interestSoFarAt(const Register& reg, int row, const Basis& basis);

using ProgressStep = std::function<bool(qint64 done, qint64 total)>;

// Room for the rows added after a count: the first Add then copies nothing.
// Memory not yet written takes no room.
inline std::size_t withRoomToGrow(std::size_t rows) { return rows + rows / 16 + 64; }

// The figures of every deposit row, register row r at r - 1. False, and
// `figures` untouched, when `step` says to stop.
bool figuresOfRegister(const Register& reg, const Basis& basis, std::vector<Figures>& figures,
                       const ProgressStep& step = {});
// Every deposit's value today counted again for another day, the rest of its figures kept.
void countValuesToday(const Register& reg, const Basis& basis, std::vector<Figures>& figures);

// The text a column shows for register row `row` with these figures: the
// deposit's own texts as they stand, the days, values, interest and status as worked out.
QString text(const Figures& figures, int column, const Basis& basis, const Register& reg, int row);

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
    Sum valueToday;
    Sum futureValue;
    Sum interest;
    Sum tax;  // each deposit's tax, rounded to the cent, at the summary's share
    Sum netInterest;
};

struct Summary {
    explicit Summary(int taxShare = 0) : taxShare(taxShare) {}

    int taxShare;
    Totals active;
    Totals all;

    void add(const Figures& figures) { change(figures, 1); }
    void remove(const Figures& figures) { change(figures, -1); }

private:
    void change(const Figures& figures, int sign);
};

Summary summarise(const std::vector<Figures>& figures, int taxShare = 0);

// A sentence that says the totals and what was left out, for the window and
// for a screen reader alike; the tax and the net interest where a share is withheld.
QString totalsText(const Totals& totals, bool activeOnly, int taxShare = 0);

// What the details dialog starts from when a matured deposit is rolled over:
// the same account number, saving, rate and term, starting on the old term
// date with the old future value as its balance, active. The derived term
// date and future value are left for the dialog to compute.
DepositRecord rolledOver(const DepositRecord& matured);

}  // namespace maturities
}  // namespace td
