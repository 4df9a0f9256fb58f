#include "commands/maturities.h"

#include "commands/row_texts.h"
#include "core/register.h"
#include "core/text_values.h"
#include "finance/elapsed_value.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <utility>

namespace td::maturities {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("Maturities", text); }

// A count of the term as read: a whole number, not negative.
std::optional<double> wholeCount(std::optional<double> value)
{
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
std::optional<DepositTerms> termsFrom(Texts& texts, const DateForm& form)
{
    return depositTerms(ParseDate(texts[StartDate], form), ParseNumber(texts[AccountBalance]),
                        ParseNumber(texts[SaveEachMonth]), ParseNumber(texts[Interest]),
                        ParseNumber(texts[Years]), ParseNumber(texts[Months]));
}

double valueTodayOf(const std::optional<DepositTerms>& terms, QDate today)
{
    if (!terms)
        return Figures::kUnread;
    const std::optional<qint64> cents =
        valueAfterMonthsCents(*terms, monthsElapsed(terms->start, terms->termMonths, today));
    return cents ? double(*cents) / 100 : Figures::kUnread;
}

// Each text read once: the terms take the amounts and counts as read for the interest.
template <typename Texts>
Figures figuresFrom(Texts& texts, const Basis& basis)
{
    const DateForm& form = basis.form;
    Figures figures;
    if (const std::optional<QDate> date = ParseDate(texts[TermDate], form))
        figures.termDay = static_cast<qint32>(date->toJulianDay());
    const std::optional<double> balance = ParseNumber(texts[AccountBalance]);
    const std::optional<double> futureValue = ParseNumber(texts[FutureValue]);
    figures.balance = balance.value_or(Figures::kUnread);
    figures.futureValue = futureValue.value_or(Figures::kUnread);
    const std::optional<double> saving = ParseNumber(texts[SaveEachMonth]);
    const std::optional<double> years = ParseNumber(texts[Years]);
    const std::optional<double> months = ParseNumber(texts[Months]);
    if (balance && futureValue && saving && wholeCount(years) && wholeCount(months))
        figures.interest = interestOf(*balance, *futureValue, *saving, *years * 12 + *months);
    figures.valueToday = valueTodayOf(depositTerms(ParseDate(texts[StartDate], form), balance, saving,
                                                   ParseNumber(texts[Interest]), years, months),
                                      basis.today);
    figures.active = texts[Active] == QLatin1String("Yes");
    return figures;
}

QString moneyText(double amount) { return std::isnan(amount) ? QString() : FormatMoney(amount); }

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
        QT_TRANSLATE_NOOP("Maturities", "Value Today"),
        QT_TRANSLATE_NOOP("Maturities", "Interest So Far"),
        QT_TRANSLATE_NOOP("Maturities", "Future Value"),
        QT_TRANSLATE_NOOP("Maturities", "Interest to Earn"),
        QT_TRANSLATE_NOOP("Maturities", "Tax"),
        QT_TRANSLATE_NOOP("Maturities", "Net Interest"),
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
    const std::optional<double> y = wholeCount(ParseNumber(years));
    const std::optional<double> m = wholeCount(ParseNumber(months));
    if (!saving || !y || !m)
        return std::nullopt;
    return *saving * (*y * 12 + *m);
}

double taxOn(double interest, int taxShare)
{
    if (std::isnan(interest))
        return Figures::kUnread;
    // The interest as it is shown, in cents; beyond any sum of money, a share of it as it stands.
    const std::optional<qint64> cents = wholeCents(interest);
    const std::optional<qint64> shown = cents ? cents : RoundToCents(interest);
    return shown ? double(taxCents(*shown, taxShare)) / 100 : interest * taxShare / 10000;
}

double netOf(double interest, int taxShare)
{
    const double tax = taxOn(interest, taxShare);
    const std::optional<qint64> interestCents = wholeCents(interest);
    const std::optional<qint64> taxInCents = wholeCents(tax);
    if (interestCents && taxInCents)
        return double(*interestCents - *taxInCents) / 100;
    return interest - tax;
}

Figures figuresOf(const DepositRecord& deposit, const Basis& basis) { return figuresFrom(deposit, basis); }

Figures figuresAt(const Register& reg, int row, const Basis& basis)
{
    RowTexts texts(reg);
    texts.load(row);
    return figuresFrom(texts, basis);
}

double interestSoFarAt(const Register& reg, int row, const Basis& basis)
{
    RowTexts texts(reg);
    texts.load(row);
    const std::optional<DepositTerms> terms = termsFrom(texts, basis.form);
    if (!terms)
        return Figures::kUnread;
    const std::optional<qint64> cents =
        interestBetweenCents(*terms, 0, monthsElapsed(terms->start, terms->termMonths, basis.today));
    return cents ? double(*cents) / 100 : Figures::kUnread;
}

void countValuesToday(const Register& reg, const Basis& basis, std::vector<Figures>& figures)
{
    RowTexts texts(reg);
    for (std::size_t i = 0; i < figures.size(); ++i) {
        texts.load(int(i) + 1);
        figures[i].valueToday = valueTodayOf(termsFrom(texts, basis.form), basis.today);
    }
}

bool figuresOfRegister(const Register& reg, const Basis& basis, std::vector<Figures>& figures,
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
        counted[static_cast<std::size_t>(i)] = figuresFrom(texts, basis);
    }
    if (step && !step(count, count))
        return false;
    figures = std::move(counted);
    return true;
}

QString text(const Figures& figures, int column, const Basis& basis, const Register& reg, int row)
{
    const QDate today = basis.today;
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
    case ValueTodayColumn:
        return moneyText(figures.valueToday);
    case InterestSoFarColumn:
        return moneyText(interestSoFarAt(reg, row, basis));
    case FutureValueColumn:
        return reg.cell(row, FutureValue);
    case InterestColumn:
        return moneyText(figures.interest);
    case TaxColumn:
        return moneyText(taxOn(figures.interest, basis.taxShare));
    case NetInterestColumn:
        return moneyText(netOf(figures.interest, basis.taxShare));
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
        const bool taxed = taxShare > 0;
        for (auto [sum, amount] :
             {std::pair{&totals.balance, figures.balance}, std::pair{&totals.valueToday, figures.valueToday},
              std::pair{&totals.futureValue, figures.futureValue},
              std::pair{&totals.interest, figures.interest},
              std::pair{&totals.tax, taxed ? taxOn(figures.interest, taxShare) : 0.0},
              std::pair{&totals.netInterest, taxed ? netOf(figures.interest, taxShare) : 0.0}}) {
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

Summary summarise(const std::vector<Figures>& figures, int taxShare)
{
    Summary summary(taxShare);
    for (const Figures& f : figures)
        summary.add(f);
    return summary;
}

QString totalsText(const Totals& totals, bool activeOnly, int taxShare)
{
    const QString counted = activeOnly ? tr("Active deposits: %1").arg(totals.deposits)
                                       : tr("All deposits: %1").arg(totals.deposits);
    const QString balance = FormatMoney(totals.balance.value());
    const QString valueToday = FormatMoney(totals.valueToday.value());
    const QString futureValue = FormatMoney(totals.futureValue.value());
    const QString interest = FormatMoney(totals.interest.value());
    QString text =
        taxShare > 0
            ? tr("%1. Account balance %2, value today %3, future value %4, interest to earn %5, tax %6, "
                 "net interest %7.")
                  .arg(counted, balance, valueToday, futureValue, interest, FormatMoney(totals.tax.value()),
                       FormatMoney(totals.netInterest.value()))
            : tr("%1. Account balance %2, value today %3, future value %4, interest to earn %5.")
                  .arg(counted, balance, valueToday, futureValue, interest);
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
