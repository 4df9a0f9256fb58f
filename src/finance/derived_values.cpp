#include "derived_values.h"

#include "core/text_values.h"

#include <cmath>
#include <optional>

namespace td {

namespace {

// Whole units of a term, truncated towards zero. Nothing when the count is
// too large for any date of the calendar (which spans less than 10000 years),
// so the conversion to int can never overflow.
std::optional<int> wholeCount(double value, double limit)
{
    if (!std::isfinite(value) || std::fabs(value) >= limit)
        return std::nullopt;
    return static_cast<int>(std::trunc(value));
}

double amountOf(QStringView text) { return LeadingNumber(FormatTwoDecimals(text.toString())); }

}  // namespace

QString termDateText(QDate start, QStringView yearsText, QStringView monthsText, const DateForm& form)
{
    const std::optional<int> years = wholeCount(LeadingNumber(yearsText), 10000.0);
    if (!years)
        return {};
    const QString afterYears = FormatDate(AddYears(start, *years), form);
    if (afterYears.isEmpty())
        return {};

    const std::optional<int> months = wholeCount(LeadingNumber(monthsText), 10000.0 * 12);
    const std::optional<QDate> readBack = ParseDate(afterYears, form);
    if (!months || !readBack)
        return {};
    return FormatDate(AddMonths(*readBack, *months), form);
}

double futureValue(double balance, double saving, double interestPercent, double years, double months)
{
    const double r = interestPercent / 100.0 / 12.0;
    const double n = years * 12.0 + months;
    if (r == 0.0)
        return balance + saving * n;
    const double growth = std::pow(1.0 + r, n);
    return balance * growth + saving * (growth - 1.0) / r;
}

QString futureValueText(QStringView balanceText, QStringView savingText, QStringView interestText,
                        QStringView yearsText, QStringView monthsText)
{
    const double value = futureValue(amountOf(balanceText), amountOf(savingText), LeadingNumber(interestText),
                                     LeadingNumber(yearsText), LeadingNumber(monthsText));
    if (!std::isfinite(value))
        return {};
    return FormatMoney(RoundSignificant15(value));
}

}  // namespace td
