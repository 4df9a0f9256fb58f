#pragma once

#include <QDate>
#include <QString>
#include <QStringView>
#include <optional>

namespace td {

// Amounts are written with "$", "," and "." whatever the locale. Rounding to
// cents first takes 15 significant digits, then rounds halves away from zero.
QString FormatMoney(double amount);
QString FormatMoney(const QString& text);  // a text that is not a number comes back unchanged
QString FormatTwoDecimals(double amount);
// The whole cents FormatMoney writes for an amount, as a number; nothing for
// amounts of 10^13 and more, and for infinity and NaN.
std::optional<qint64> RoundToCents(double amount);
QString FormatTwoDecimals(const QString& text);

// The number written at the start of a text; blanks are skipped anywhere; 0 if no digit.
double LeadingNumber(QStringView text);

// The amount a text stands for ("$1,234.50", " -12.5e3 "), or nothing.
std::optional<double> ParseNumber(QStringView text);

// Rounds to 15 significant decimal digits.
double RoundSignificant15(double value);

// RoundToCents(RoundSignificant15(value)), the cents a computed amount is
// shown with, worked out without decimal digits unless the amount lies next
// to a half cent.
std::optional<qint64> CentsAsShown(double value);

// n years / months later, clamping the day to the end of the target month.
// An invalid QDate when the result would fall after 31 December 9999 or before year 1.
QDate AddYears(QDate date, int years);
QDate AddMonths(QDate date, int months);

}  // namespace td
