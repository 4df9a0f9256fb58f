#include "finance/elapsed_value.h"

#include "core/text_values.h"
#include "finance/derived_values.h"

#include <algorithm>
#include <cmath>

namespace td {

namespace {

// An amount as the grid reads it into the future value: rounded to cents.
std::optional<qint64> amountCents(QStringView text)
{
    const std::optional<double> amount = ParseNumber(text);
    return amount ? RoundToCents(*amount) : std::nullopt;
}

// A count of the term: a whole number from 0, as the key rules let in.
std::optional<int> termCount(QStringView text)
{
    const std::optional<double> count = ParseNumber(text);
    if (!count || *count < 0 || *count > 120000 || std::floor(*count) != *count)
        return std::nullopt;
    return static_cast<int>(*count);
}

}  // namespace

std::optional<DepositTerms> depositTerms(const DepositRecord& deposit, const DateForm& form)
{
    const std::optional<QDate> start = ParseDate(deposit[StartDate], form);
    const std::optional<qint64> balance = amountCents(deposit[AccountBalance]);
    const std::optional<qint64> saving = amountCents(deposit[SaveEachMonth]);
    const std::optional<double> rate = ParseNumber(deposit[Interest]);
    const std::optional<int> years = termCount(deposit[Years]);
    const std::optional<int> months = termCount(deposit[Months]);
    if (!start || !balance || !saving || !rate || !years || !months || !std::isfinite(*rate))
        return std::nullopt;
    return DepositTerms{*start, *balance, *saving, *rate, *years * 12 + *months};
}

int monthsElapsed(QDate start, int termMonths, QDate at)
{
    if (!start.isValid() || !at.isValid() || at < start || termMonths <= 0)
        return 0;
    // A first guess from the calendar months between, then at most one step
    // back: the anniversary in at's month may still be ahead of it.
    int months = (at.year() - start.year()) * 12 + (at.month() - start.month());
    months = std::clamp(months, 0, termMonths);
    while (months > 0 && start.addMonths(months) > at)
        --months;
    return months;
}

std::optional<qint64> valueAfterMonthsCents(const DepositTerms& terms, int months)
{
    if (months <= 0)
        return terms.balanceCents;
    const double value = futureValue(double(terms.balanceCents) / 100, double(terms.savingCents) / 100,
                                     terms.ratePercent, 0, months);
    return CentsAsShown(value);
}

std::optional<qint64> interestBetweenCents(const DepositTerms& terms, int from, int to)
{
    const std::optional<qint64> end = valueAfterMonthsCents(terms, to);
    const std::optional<qint64> begin = valueAfterMonthsCents(terms, from);
    if (!end || !begin)
        return std::nullopt;
    return *end - *begin - terms.savingCents * (to - from);
}

qint64 taxCents(qint64 interestCents, int shareHundredthsOfPercent)
{
    // interest * share / 10000, halves away from zero, in exact integers.
    const __int128 scaled = __int128(interestCents) * shareHundredthsOfPercent;
    const __int128 magnitude = scaled < 0 ? -scaled : scaled;
    const auto cents = static_cast<qint64>((magnitude + 5000) / 10000);
    return scaled < 0 ? -cents : cents;
}

}  // namespace td
