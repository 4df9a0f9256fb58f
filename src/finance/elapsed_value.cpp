#include "finance/elapsed_value.h"

#include "core/text_values.h"
#include "finance/derived_values.h"

#include <algorithm>
#include <cmath>

namespace td {

namespace {

// Below this a double's cents are whole and exact, and RoundToCents takes them as they are.
constexpr double kCentsRange = 1e13;

// An amount as the grid reads it into the future value: rounded to cents.
// Most amounts are whole cents already, which need no decimal rounding.
std::optional<qint64> amountCents(std::optional<double> amount)
{
    if (!amount)
        return std::nullopt;
    if (std::fabs(*amount) < kCentsRange) {
        const qint64 cents = std::llround(*amount * 100);
        if (double(cents) / 100 == *amount)
            return cents;
    }
    return RoundToCents(*amount);
}

// A count of the term: a whole number from 0, as the key rules let in.
std::optional<int> termCount(std::optional<double> count)
{
    if (!count || *count < 0 || *count > 120000 || std::floor(*count) != *count)
        return std::nullopt;
    return static_cast<int>(*count);
}

}  // namespace

std::optional<DepositTerms> depositTerms(const DepositRecord& deposit, const DateForm& form)
{
    return depositTerms(ParseDate(deposit[StartDate], form), ParseNumber(deposit[AccountBalance]),
                        ParseNumber(deposit[SaveEachMonth]), ParseNumber(deposit[Interest]),
                        ParseNumber(deposit[Years]), ParseNumber(deposit[Months]));
}

std::optional<DepositTerms> depositTerms(std::optional<QDate> start, std::optional<double> balanceRead,
                                         std::optional<double> savingRead, std::optional<double> rate,
                                         std::optional<double> yearsRead, std::optional<double> monthsRead)
{
    const std::optional<qint64> balance = amountCents(balanceRead);
    const std::optional<qint64> saving = amountCents(savingRead);
    const std::optional<int> years = termCount(yearsRead);
    const std::optional<int> months = termCount(monthsRead);
    if (!start || !balance || !saving || !rate || !years || !months || !std::isfinite(*rate))
        return std::nullopt;
    return DepositTerms{*start, *balance, *saving, *rate, *years * 12 + *months};
}

int monthsElapsed(QDate start, int termMonths, QDate at)
{
    if (!start.isValid() || !at.isValid() || at < start || termMonths <= 0)
        return 0;
    int startYear = 0;
    int startMonth = 0;
    int startDay = 0;
    int atYear = 0;
    int atMonth = 0;
    int atDay = 0;
    start.getDate(&startYear, &startMonth, &startDay);
    at.getDate(&atYear, &atMonth, &atDay);
    if (startYear < 1) {  // the calendar has no year 0: let QDate count across it
        int months = std::clamp((atYear - startYear) * 12 + (atMonth - startMonth), 0, termMonths);
        while (months > 0 && start.addMonths(months) > at)
            --months;
        return months;
    }
    // The calendar months between, less one where the anniversary in at's
    // month (start's day, or the month's last where it is shorter) is still ahead.
    int months = (atYear - startYear) * 12 + (atMonth - startMonth);
    if (atDay < startDay && atDay < at.daysInMonth())
        --months;
    return std::clamp(months, 0, termMonths);
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
