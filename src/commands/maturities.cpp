#include "commands/maturities.h"

#include "commands/row_texts.h"
#include "core/register.h"
#include "core/text_values.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <utility>

namespace td::maturities {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("Maturities", text); }

// ParseNumber's answer, read quicker for the plain amounts the program
// writes ("$1,234.56", "12"): their whole cents over 100 is the double that
// ParseNumber finds, the one nearest to the decimal. Anything else is left
// to ParseNumber.
std::optional<double> readAmount(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    const bool negative = n > 0 && text[0] == u'-';
    i += negative ? 1 : 0;
    i += i < n && text[i] == u'$' ? 1 : 0;
    qint64 cents = 0;
    int digits = 0;
    bool plain = i < n && text[i] >= u'0' && text[i] <= u'9';
    for (; plain && i < n && text[i] != u'.'; ++i) {
        if (text[i] >= u'0' && text[i] <= u'9') {
            cents = cents * 10 + (text[i].unicode() - u'0');
            ++digits;
        } else {
            plain = text[i] == u',';
        }
    }
    int decimals = 0;
    if (plain && i < n) {  // the point
        for (++i; plain && i < n; ++i, ++decimals) {
            plain = decimals < 2 && text[i] >= u'0' && text[i] <= u'9';
            cents = cents * 10 + (text[i].unicode() - u'0');
        }
    }
    if (!plain || digits + 2 > 15)
        return ParseNumber(text);
    for (; decimals < 2; ++decimals)
        cents *= 10;
    const double value = double(cents) / 100;
    return negative ? -value : value;
}

// A count text of the term: a whole number, not negative.
std::optional<double> wholeCount(QStringView text)
{
    const std::optional<double> value = readAmount(text);
    if (!value || *value < 0 || std::floor(*value) != *value)
        return std::nullopt;
    return value;
}

// Amounts up to here in cents add up exactly in a double's 53 bits.
constexpr double kExactCents = 9e15;

// The amount as whole cents, when it is a whole number of cents.
std::optional<qint64> wholeCents(double amount)
{
    const double scaled = amount * 100;
    if (!(std::fabs(scaled) < kExactCents))
        return std::nullopt;
    const qint64 cents = std::llround(scaled);
    if (double(cents) / 100 != amount)
        return std::nullopt;
    return cents;
}

// Future value less balance less the savings paid in; worked in whole cents
// where every part is in cents, so that what is shown and totalled is exact.
double interestOf(double balance, double futureValue, double saving, double months)
{
    const std::optional<qint64> b = wholeCents(balance);
    const std::optional<qint64> f = wholeCents(futureValue);
    const std::optional<qint64> s = wholeCents(saving);
    qint64 paid = 0;
    qint64 cents = 0;
    if (b && f && s && months < kExactCents && !__builtin_mul_overflow(*s, qint64(months), &paid) &&
        !__builtin_sub_overflow(*f - *b, paid, &cents) && std::fabs(double(cents)) < kExactCents)
        return double(cents) / 100;
    const double interest = futureValue - balance - saving * months;
    return std::isfinite(interest) ? interest : Figures::kUnread;
}

template <typename Texts>
Figures figuresFrom(Texts& texts, const DateForm& form)
{
    Figures figures;
    if (const std::optional<QDate> date = ParseDate(texts[TermDate], form))
        figures.termDay = static_cast<qint32>(date->toJulianDay());
    const std::optional<double> balance = readAmount(texts[AccountBalance]);
    const std::optional<double> futureValue = readAmount(texts[FutureValue]);
    figures.balance = balance.value_or(Figures::kUnread);
    figures.futureValue = futureValue.value_or(Figures::kUnread);
    const std::optional<double> saving = readAmount(texts[SaveEachMonth]);
    const std::optional<double> years = wholeCount(texts[Years]);
    const std::optional<double> months = wholeCount(texts[Months]);
    if (balance && futureValue && saving && years && months)
        figures.interest = interestOf(*balance, *futureValue, *saving, *years * 12 + *months);
    figures.active = texts[Active] == QLatin1String("Yes");
    return figures;
}

QString statusText(State state, bool countsInTotals)
{
    QString text;
    switch (state) {
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
    if (!countsInTotals)
        text = tr("%1, %2").arg(text, tr("not in totals"));
    return text;
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

State stateOf(qint64 days)
{
    if (days <= 0)
        return State::Matured;
    return days <= kDueSoonDays ? State::DueSoon : State::Later;
}

std::optional<qint64> Figures::days(QDate today) const
{
    if (!hasTermDate())
        return std::nullopt;
    return qint64(termDay) - today.toJulianDay();
}

State Figures::state(QDate today) const
{
    const std::optional<qint64> left = days(today);
    return left ? stateOf(*left) : State::DateUnreadable;
}

std::optional<double> savingsPaidIn(QStringView saveEachMonth, QStringView years, QStringView months)
{
    const std::optional<double> saving = ParseNumber(saveEachMonth);
    const std::optional<double> y = wholeCount(years);
    const std::optional<double> m = wholeCount(months);
    if (!saving || !y || !m)
        return std::nullopt;
    return *saving * (*y * 12 + *m);
}

Figures figuresOf(const DepositRecord& deposit, const DateForm& form) { return figuresFrom(deposit, form); }

Figures figuresAt(const Register& reg, int row, const DateForm& form)
{
    RowTexts texts(reg);
    texts.load(row);
    return figuresFrom(texts, form);
}

bool figuresOfRegister(const Register& reg, const DateForm& form, std::vector<Figures>& figures,
                       const ProgressStep& step)
{
    constexpr int kRowsAStep = 1 << 16;
    const int count = std::max(0, reg.depositCount());
    std::vector<Figures> counted;
    counted.reserve(withRoomToGrow(std::size_t(count)));
    counted.resize(std::size_t(count));
    RowTexts texts(reg);
    for (int i = 0; i < count; ++i) {
        if (i % kRowsAStep == 0 && step && !step(i, count))
            return false;
        texts.load(i + 1);
        counted[static_cast<std::size_t>(i)] = figuresFrom(texts, form);
    }
    if (step && !step(count, count))
        return false;
    figures = std::move(counted);
    return true;
}

QString text(const Figures& figures, int column, QDate today, const Register& reg, int row)
{
    switch (column) {
    case AccountNumberColumn:
        return reg.cell(row, AccountNumber);
    case TermDateColumn:
        return reg.cell(row, TermDate);
    case DaysColumn: {
        const std::optional<qint64> days = figures.days(today);
        return days ? QString::number(*days) : QString();
    }
    case StatusColumn:
        return statusText(figures.state(today), figures.countsInTotals());
    case BalanceColumn:
        return reg.cell(row, AccountBalance);
    case FutureValueColumn:
        return reg.cell(row, FutureValue);
    case InterestColumn:
        return std::isnan(figures.interest) ? QString() : FormatMoney(figures.interest);
    case ActiveColumn:
        return reg.cell(row, Active);
    default:
        return {};
    }
}

void Sum::change(double amount, int sign)
{
    if (const std::optional<qint64> cents = wholeCents(amount))
        m_cents += sign * *cents;
    else
        m_rest += sign * amount;
}

double Sum::value() const { return double(m_cents) / 100 + m_rest; }

void Summary::change(const Figures& figures, int sign)
{
    auto apply = [&](Totals& totals) {
        totals.deposits += sign;
        if (!figures.countsInTotals()) {
            totals.leftOut += sign;
            return;
        }
        for (auto [sum, amount] : {std::pair{&totals.balance, figures.balance},
                                   std::pair{&totals.futureValue, figures.futureValue},
                                   std::pair{&totals.interest, figures.interest}}) {
            if (sign > 0)
                sum->add(amount);
            else
                sum->remove(amount);
        }
    };
    apply(all);
    if (figures.active)
        apply(active);
}

Summary summarise(const std::vector<Figures>& figures)
{
    Summary summary;
    for (const Figures& f : figures)
        summary.add(f);
    return summary;
}

QString totalsText(const Totals& totals, bool activeOnly)
{
    const QString counted = activeOnly ? tr("Active deposits: %1").arg(totals.deposits)
                                       : tr("All deposits: %1").arg(totals.deposits);
    QString text = tr("%1. Account balance %2, future value %3, interest to earn %4.")
                       .arg(counted, FormatMoney(totals.balance.value()),
                            FormatMoney(totals.futureValue.value()), FormatMoney(totals.interest.value()));
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
