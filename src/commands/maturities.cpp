#include "commands/maturities.h"

#include "core/register.h"
#include "core/text_values.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace td::maturities {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("Maturities", text); }

// A count text of the term: a whole number, not negative.
std::optional<double> wholeCount(const QString& text)
{
    const std::optional<double> value = ParseNumber(text);
    if (!value || *value < 0 || std::floor(*value) != *value)
        return std::nullopt;
    return value;
}

QString statusText(const Row& row)
{
    QString text;
    switch (row.state) {
    case State::Matured:
        text = tr("Matured");
        break;
    case State::DueSoon:
        text = tr("Within 30 days");
        break;
    case State::Later:
        text = tr("More than 30 days");
        break;
    case State::DateUnreadable:
        text = tr("Term date cannot be read");
        break;
    }
    if (!row.countsInTotals())
        text = tr("%1, %2").arg(text, tr("not in totals"));
    return text;
}

// Nothing sorts after everything else, whichever the order.
template <typename T>
int compareOptional(const std::optional<T>& a, const std::optional<T>& b, bool ascending)
{
    if (!a || !b)
        return a ? -1 : (b ? 1 : 0);
    if (*a == *b)
        return 0;
    const int order = *a < *b ? -1 : 1;
    return ascending ? order : -order;
}

int urgency(State state)
{
    switch (state) {
    case State::Matured:
        return 0;
    case State::DueSoon:
        return 1;
    case State::Later:
        return 2;
    case State::DateUnreadable:
        break;
    }
    return 3;
}

// Account numbers compare with their runs of digits as numbers ("A9" before
// "A10"), letters regardless of case; the system's collation is not relied on,
// since not every build of it knows a numeric mode.
int compareAccounts(const QString& a, const QString& b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype iEnd = i;
            qsizetype jEnd = j;
            while (iEnd < a.size() && a[iEnd].isDigit())
                ++iEnd;
            while (jEnd < b.size() && b[jEnd].isDigit())
                ++jEnd;
            // Leading zeros do not make a number larger.
            QStringView x = QStringView(a).sliced(i, iEnd - i);
            QStringView y = QStringView(b).sliced(j, jEnd - j);
            while (x.size() > 1 && x.front() == QLatin1Char('0'))
                x = x.sliced(1);
            while (y.size() > 1 && y.front() == QLatin1Char('0'))
                y = y.sliced(1);
            if (x.size() != y.size())
                return x.size() < y.size() ? -1 : 1;
            if (const int order = x.compare(y); order != 0)
                return order < 0 ? -1 : 1;
            i = iEnd;
            j = jEnd;
            continue;
        }
        const int order =
            QStringView(a).sliced(i, 1).compare(QStringView(b).sliced(j, 1), Qt::CaseInsensitive);
        if (order != 0)
            return order < 0 ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return a.compare(b);  // equal but for case or zeros: still one order
}

// Term date order, then register order: how rows stand when nothing else decides.
bool termDateOrder(const Row& a, const Row& b)
{
    const int byDate = compareOptional(a.termDate, b.termDate, true);
    return byDate != 0 ? byDate < 0 : a.registerRow < b.registerRow;
}

}  // namespace

QString headerText(int column)
{
    static constexpr std::array<const char*, ColumnCount> kHeaders{{
        QT_TRANSLATE_NOOP("Maturities", "Account Number"),
        QT_TRANSLATE_NOOP("Maturities", "Term Date"),
        QT_TRANSLATE_NOOP("Maturities", "Days to Maturity"),
        QT_TRANSLATE_NOOP("Maturities", "Status"),
        QT_TRANSLATE_NOOP("Maturities", "Account Balance"),
        QT_TRANSLATE_NOOP("Maturities", "Future Value"),
        QT_TRANSLATE_NOOP("Maturities", "Interest to Earn"),
        QT_TRANSLATE_NOOP("Maturities", "Active"),
    }};
    return tr(kHeaders.at(column));
}

std::optional<double> savingsPaidIn(const QString& saveEachMonth, const QString& years, const QString& months)
{
    const std::optional<double> saving = ParseNumber(saveEachMonth);
    const std::optional<double> y = wholeCount(years);
    const std::optional<double> m = wholeCount(months);
    if (!saving || !y || !m)
        return std::nullopt;
    return *saving * (*y * 12 + *m);
}

State stateOf(qint64 days)
{
    if (days <= 0)
        return State::Matured;
    return days <= kDueSoonDays ? State::DueSoon : State::Later;
}

Row rowFor(const DepositRecord& deposit, int registerRow, QDate today, const DateForm& form)
{
    Row row;
    row.registerRow = registerRow;
    row.termDate = ParseDate(deposit[TermDate], form);
    if (row.termDate) {
        row.days = today.daysTo(*row.termDate);
        row.state = stateOf(*row.days);
    }
    // An amount beyond the double range ("1e999") reads, but no total can hold it.
    auto amount = [](const QString& text) {
        const std::optional<double> value = ParseNumber(text);
        return value && std::isfinite(*value) ? value : std::nullopt;
    };
    row.balance = amount(deposit[AccountBalance]);
    row.futureValue = amount(deposit[FutureValue]);
    const std::optional<double> paidIn =
        savingsPaidIn(deposit[SaveEachMonth], deposit[Years], deposit[Months]);
    if (row.balance && row.futureValue && paidIn)
        row.interest = *row.futureValue - *row.balance - *paidIn;
    if (row.interest && !std::isfinite(*row.interest))
        row.interest.reset();
    // The usual two answers share one text each rather than a copy a row.
    static const QString yes = QStringLiteral("Yes");
    static const QString no = QStringLiteral("No");
    const QString& active = deposit[Active];
    row.activeText = active == yes ? yes : active == no ? no : active;
    row.account = deposit[AccountNumber];
    return row;
}

QString text(const Row& row, const DepositRecord& deposit, int column)
{
    switch (column) {
    case AccountNumberColumn:
        return row.account;
    case TermDateColumn:
        return deposit[TermDate];
    case DaysColumn:
        return row.days ? QString::number(*row.days) : QString();
    case StatusColumn:
        return statusText(row);
    case BalanceColumn:
        return deposit[AccountBalance];
    case FutureValueColumn:
        return deposit[FutureValue];
    case InterestColumn:
        return row.interest ? FormatMoney(*row.interest) : QString();
    case ActiveColumn:
        return row.activeText;
    default:
        return {};
    }
}

std::vector<Row> build(const Register& reg, QDate today, const DateForm& form)
{
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(std::max(0, reg.depositCount())));
    for (int r = 1; r < reg.rows() - 1; ++r)
        rows.push_back(rowFor(reg.record(r), r, today, form));
    std::stable_sort(rows.begin(), rows.end(), termDateOrder);
    return rows;
}

void sort(std::vector<Row>& rows, int column, bool ascending)
{
    auto compare = [&](const Row& a, const Row& b) -> int {
        switch (column) {
        case AccountNumberColumn:
        case ActiveColumn: {
            const bool byAccount = column == AccountNumberColumn;
            const int order =
                compareAccounts(byAccount ? a.account : a.activeText, byAccount ? b.account : b.activeText);
            return ascending ? order : -order;
        }
        case TermDateColumn:
            return compareOptional(a.termDate, b.termDate, ascending);
        case DaysColumn:
            return compareOptional(a.days, b.days, ascending);
        case StatusColumn: {
            const int order = urgency(a.state) - urgency(b.state);
            return ascending ? order : -order;
        }
        case BalanceColumn:
            return compareOptional(a.balance, b.balance, ascending);
        case FutureValueColumn:
            return compareOptional(a.futureValue, b.futureValue, ascending);
        case InterestColumn:
            return compareOptional(a.interest, b.interest, ascending);
        default:
            return 0;
        }
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
        const int order = compare(a, b);
        return order != 0 ? order < 0 : termDateOrder(a, b);
    });
}

Summary summarise(const std::vector<Row>& rows)
{
    Summary summary;
    auto add = [](Totals& totals, const Row& row) {
        ++totals.deposits;
        if (!row.countsInTotals()) {
            ++totals.leftOut;
            return;
        }
        totals.balance += *row.balance;
        totals.futureValue += *row.futureValue;
        totals.interest += *row.interest;
    };
    for (const Row& row : rows) {
        add(summary.all, row);
        if (row.isActive())
            add(summary.active, row);
    }
    return summary;
}

QString totalsText(const Totals& totals, bool activeOnly)
{
    const QString counted = activeOnly ? tr("Active deposits: %1").arg(totals.deposits)
                                       : tr("All deposits: %1").arg(totals.deposits);
    QString text = tr("%1. Account balance %2, future value %3, interest to earn %4.")
                       .arg(counted, FormatMoney(totals.balance), FormatMoney(totals.futureValue),
                            FormatMoney(totals.interest));
    if (totals.leftOut == 1)
        text += tr(" 1 deposit left out: its values cannot be read.");
    else if (totals.leftOut > 1)
        text += tr(" %1 deposits left out: their values cannot be read.").arg(totals.leftOut);
    return text;
}

DepositRecord rolledOver(const DepositRecord& matured)
{
    DepositRecord next;
    next[AccountNumber] = matured[AccountNumber];
    next[SaveEachMonth] = matured[SaveEachMonth];
    next[Interest] = matured[Interest];
    next[Years] = matured[Years];
    next[Months] = matured[Months];
    next[StartDate] = matured[TermDate];
    next[AccountBalance] = matured[FutureValue];
    next[Active] = QStringLiteral("Yes");
    return next;
}

}  // namespace td::maturities
