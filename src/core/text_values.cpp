#include "text_values.h"

#include <QVarLengthArray>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace td {

namespace {

using CharBuffer = QVarLengthArray<char, 64>;

bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

QStringView trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

// A decimal number as collected from a text: the digits of the mantissa with
// the point removed, and the power of ten that the last digit stands for.
struct Decimal {
    bool negative = false;
    CharBuffer digits;
    std::int64_t exponent = 0;
};

// Exponents are accumulated only up to here; anything beyond is out of the
// double range in either direction, however many digits the mantissa has.
constexpr std::int64_t kExponentCap = 1'000'000'000'000LL;

void accumulateExponent(std::int64_t& exponent, QChar digit)
{
    if (exponent < kExponentCap)
        exponent = exponent * 10 + (digit.unicode() - u'0');
}

// Correctly rounded, and independent of the C library's locale (strtod would
// take the decimal point from LC_NUMERIC, which QCoreApplication sets from
// the environment).
double toDouble(const Decimal& d)
{
    const char* first = d.digits.constData();
    const char* last = first + d.digits.size();
    while (first != last && *first == '0')
        ++first;
    std::int64_t exponent = d.exponent;
    while (last != first && last[-1] == '0') {
        --last;
        ++exponent;
    }
    const double zero = d.negative ? -0.0 : 0.0;
    const double infinity =
        d.negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    if (first == last)
        return zero;
    // The value lies in [10^(magnitude-1), 10^magnitude).
    const std::int64_t magnitude = (last - first) + exponent;
    if (magnitude > 310)
        return infinity;
    if (magnitude < -330)
        return zero;

    CharBuffer text;
    text.reserve((last - first) + 24);
    if (d.negative)
        text.append('-');
    text.append(first, last - first);
    text.append('e');
    char exponentText[24];
    const auto written = std::to_chars(exponentText, exponentText + sizeof exponentText, exponent);
    text.append(exponentText, written.ptr - exponentText);

    double value = 0;
    const auto result = std::from_chars(text.constData(), text.constData() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return magnitude > 0 ? infinity : zero;
    return value;
}

// |amount| to 15 significant digits: amount = significand * 10^(exponent - 14).
struct Significant15 {
    std::uint64_t significand = 0;
    int exponent = 0;
};

Significant15 significant15(double magnitude)
{
    // "d.ddddddddddddddde±x": the 15 significant digits and their exponent.
    char sci[32];
    const auto written = std::to_chars(sci, sci + sizeof sci, magnitude, std::chars_format::scientific, 14);
    const char* e = std::find(sci, written.ptr, 'e');
    Significant15 s;
    s.significand = static_cast<std::uint64_t>(sci[0] - '0');
    for (const char* p = sci + 2; p < e; ++p)
        s.significand = s.significand * 10 + static_cast<std::uint64_t>(*p - '0');
    const bool negativeExponent = e[1] == '-';
    for (const char* p = e + 2; p < written.ptr; ++p)
        s.exponent = s.exponent * 10 + (*p - '0');
    if (negativeExponent)
        s.exponent = -s.exponent;
    return s;
}

// The whole cents of a significand whose digits past the cents are dropped,
// halves rounded up: dropped is how many digits go (1..15).
std::uint64_t centsDropping(std::uint64_t significand, int dropped)
{
    if (dropped > 15)  // significand < 10^15, so more dropped digits leave less than 0.1 cent
        return 0;
    std::uint64_t power = 1;
    for (int i = 0; i < dropped; ++i)
        power *= 10;
    std::uint64_t cents = significand / power;
    if ((significand % power) * 2 >= power)
        ++cents;
    return cents;
}

// Cents of |amount| after rounding to 15 significant digits and then to cents,
// halves away from zero, done on the decimal digits. Written as decimal digits
// (the value may be far beyond any integer type), at least three of them.
void appendCents(CharBuffer& out, double magnitude)
{
    const Significant15 s = significant15(magnitude);
    // amount = significand * 10^(exponent - 14), so cents = significand * 10^(exponent - 12).
    const int dropped = 12 - s.exponent;
    char digits[24];
    const char* end = nullptr;
    int trailingZeros = 0;
    if (dropped <= 0) {
        end = std::to_chars(digits, digits + sizeof digits, s.significand).ptr;
        trailingZeros = -dropped;
    } else {
        end = std::to_chars(digits, digits + sizeof digits, centsDropping(s.significand, dropped)).ptr;
    }
    for (qsizetype pad = 3 - (end - digits) - trailingZeros; pad > 0; --pad)
        out.append('0');
    out.append(digits, end - digits);
    for (int i = 0; i < trailingZeros; ++i)
        out.append('0');
}

// Amounts of 10^15 and more are written in full: the 15 significant digits
// followed by zeros, so even 1e308 gives a (long) text of digits. Infinity
// and NaN, which only an overflowing computation produces, are written as
// "Infinity" and "NaN"; these texts are not numbers, so they pass through
// the text forms unchanged and read as 0.
QString formatAmount(double amount, bool money)
{
    if (std::isnan(amount))
        return QStringLiteral("NaN");
    const bool negative = std::signbit(amount);
    if (std::isinf(amount)) {
        if (money)
            return negative ? QStringLiteral("-$Infinity") : QStringLiteral("$Infinity");
        return negative ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    }

    CharBuffer cents;
    appendCents(cents, std::fabs(amount));
    bool zero = true;
    for (char c : cents)
        zero = zero && c == '0';

    CharBuffer out;
    if (negative && !zero)  // no "-" in front of an amount that rounds to zero
        out.append('-');
    if (money)
        out.append('$');
    const qsizetype integerDigits = cents.size() - 2;
    for (qsizetype i = 0; i < integerDigits; ++i) {
        if (money && i > 0 && (integerDigits - i) % 3 == 0)
            out.append(',');
        out.append(cents[i]);
    }
    out.append('.');
    out.append(cents.constData() + integerDigits, 2);
    return QString::fromLatin1(out.constData(), out.size());
}

QString formatText(const QString& text, bool money)
{
    const std::optional<double> amount = ParseNumber(text);
    return amount ? formatAmount(*amount, money) : text;
}

}  // namespace

std::optional<qint64> RoundToCents(double amount)
{
    if (!std::isfinite(amount) || std::fabs(amount) >= 1e13)
        return std::nullopt;
    if (amount == 0)
        return 0;
    const Significant15 s = significant15(std::fabs(amount));
    // Below 10^13 the exponent is at most 12, so some digits are always dropped.
    const auto cents = static_cast<qint64>(centsDropping(s.significand, 12 - s.exponent));
    return std::signbit(amount) ? -cents : cents;
}

QString FormatMoney(double amount) { return formatAmount(amount, true); }

QString FormatMoney(const QString& text) { return formatText(text, true); }

QString FormatTwoDecimals(double amount) { return formatAmount(amount, false); }

QString FormatTwoDecimals(const QString& text) { return formatText(text, false); }

// A text with a second "." is not a number: the key rules let such texts into
// the money and rate boxes, and guessing which "." was meant could change an
// amount silently. The "," is taken as a thousands separator only after a
// digit of the integer part; it is ignored wherever it stands there. A number
// too large for a double (1e400) is not a number either.
// The plain amounts the program writes ("$1,234.56", "-$0.07", "12"), read
// without the decimal arithmetic below: at most two decimals and fifteen
// digits in all, so their whole cents over 100 are the double nearest the
// decimal, which is what the general reading finds. Nothing for any other text.
std::optional<double> plainAmount(QStringView s)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    const bool negative = n > 0 && s[0] == u'-';
    i += negative ? 1 : 0;
    i += i < n && s[i] == u'$' ? 1 : 0;
    if (i == n || !isDigit(s[i]))
        return std::nullopt;
    qint64 cents = 0;
    int digits = 0;
    for (; i < n && s[i] != u'.'; ++i) {
        if (isDigit(s[i])) {
            cents = cents * 10 + (s[i].unicode() - u'0');
            ++digits;
        } else if (s[i] != u',') {
            return std::nullopt;
        }
    }
    int decimals = 0;
    if (i < n) {  // the point
        for (++i; i < n; ++i, ++decimals) {
            if (decimals == 2 || !isDigit(s[i]))
                return std::nullopt;
            cents = cents * 10 + (s[i].unicode() - u'0');
        }
    }
    if (digits + 2 > 15)
        return std::nullopt;
    for (; decimals < 2; ++decimals)
        cents *= 10;
    const double value = double(cents) / 100;
    return negative ? -value : value;
}

std::optional<double> ParseNumber(QStringView text)
{
    const QStringView s = trimBlanks(text);
    if (const std::optional<double> plain = plainAmount(s))
        return plain;
    const qsizetype n = s.size();
    qsizetype i = 0;
    Decimal d;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) {
        d.negative = s[i] == u'-';
        ++i;
    }
    if (i < n && s[i] == u'$')
        ++i;
    bool anyDigit = false;
    for (; i < n; ++i) {
        if (isDigit(s[i])) {
            d.digits.append(char(s[i].unicode()));
            anyDigit = true;
        } else if (!(s[i] == u',' && anyDigit)) {
            break;
        }
    }
    if (i < n && s[i] == u'.') {
        for (++i; i < n && isDigit(s[i]); ++i) {
            d.digits.append(char(s[i].unicode()));
            --d.exponent;
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    if (i < n && (s[i] == u'E' || s[i] == u'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (s[i] == u'+' || s[i] == u'-')) {
            negativeExponent = s[i] == u'-';
            ++i;
        }
        if (i == n || !isDigit(s[i]))
            return std::nullopt;
        std::int64_t exponent = 0;
        for (; i < n && isDigit(s[i]); ++i)
            accumulateExponent(exponent, s[i]);
        d.exponent += negativeExponent ? -exponent : exponent;
    }
    if (i != n)
        return std::nullopt;
    const double value = toDouble(d);
    if (std::isinf(value))
        return std::nullopt;
    return value;
}

// Overflowing exponents ("1e999") give an infinity, the value so written.
double LeadingNumber(QStringView text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto skipBlanks = [&](qsizetype& at) {
        while (at < n && isBlank(text[at]))
            ++at;
    };
    Decimal d;
    skipBlanks(i);
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        d.negative = text[i] == u'-';
        ++i;
    }
    bool anyDigit = false;
    for (skipBlanks(i); i < n && isDigit(text[i]); ++i, skipBlanks(i)) {
        d.digits.append(char(text[i].unicode()));
        anyDigit = true;
    }
    if (i < n && text[i] == u'.') {
        for (++i, skipBlanks(i); i < n && isDigit(text[i]); ++i, skipBlanks(i)) {
            d.digits.append(char(text[i].unicode()));
            --d.exponent;
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return 0.0;
    // An exponent counts only when a digit follows the "E"; otherwise the reading stops before it.
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        qsizetype j = i + 1;
        skipBlanks(j);
        bool negativeExponent = false;
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            negativeExponent = text[j] == u'-';
            ++j;
            skipBlanks(j);
        }
        std::int64_t exponent = 0;
        bool anyExponentDigit = false;
        for (; j < n && isDigit(text[j]); ++j, skipBlanks(j)) {
            accumulateExponent(exponent, text[j]);
            anyExponentDigit = true;
        }
        if (anyExponentDigit)
            d.exponent += negativeExponent ? -exponent : exponent;
    }
    return toDouble(d);
}

double RoundSignificant15(double value)
{
    if (!std::isfinite(value))
        return value;
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 14);
    double rounded = value;
    std::from_chars(text, written.ptr, rounded);
    return rounded;
}

// Let D be value to 15 significant digits: the exact path rounds 100 D to
// the cent, halves away from zero (RoundSignificant15 gives the double
// nearest D, whose 15 digits read back as D). With 10^e <= |value| <
// 10^(e+1), |D - value| <= 0.5 * 10^(e-14) <= 5e-15 |value|, and x =
// value * 100 in doubles is within 2^-53 |x| of 100 value, so |100 D - x| <
// 6e-15 |x| + (rounding of the fraction below, under 2^-53). When no half
// cent lies within 2^-46 |x| + 2^-30 (1.4e-14 |x|, more than twice that) of
// x, 100 D and x round to the same whole cent and x is no half: llround(x)
// is the answer. Below 10^11 that margin stays under a fifth of a cent, so
// only the half cent nearest x can be that close.
std::optional<qint64> CentsAsShown(double value)
{
    if (std::fabs(value) < 1e11) {
        const double x = value * 100;
        const double fraction = x - std::floor(x);
        if (std::fabs(fraction - 0.5) > std::fabs(x) * 0x1p-46 + 0x1p-30)
            return std::llround(x);
    }
    return RoundToCents(RoundSignificant15(value));
}

namespace {

bool isLeapYear(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(std::int64_t year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

}  // namespace

// Computed here rather than with QDate::addMonths so that the calendar's end
// (year 9999) and start (year 1) give an invalid date instead of a date in
// year 10000 or in a year before Christ.
QDate AddMonths(QDate date, int months)
{
    if (months == 0)
        return date;
    if (!date.isValid() || date.year() < 1)
        return {};
    const std::int64_t index = std::int64_t(date.year()) * 12 + (date.month() - 1) + std::int64_t(months);
    if (index < 12 || index >= 10000 * 12)
        return {};
    const std::int64_t year = index / 12;
    const int month = int(index % 12) + 1;
    return QDate(int(year), month, std::min(date.day(), daysInMonth(year, month)));
}

QDate AddYears(QDate date, int years)
{
    if (years == 0)
        return date;
    if (!date.isValid() || date.year() < 1)
        return {};
    const std::int64_t year = std::int64_t(date.year()) + years;
    if (year < 1 || year > 9999)
        return {};
    return QDate(int(year), date.month(), std::min(date.day(), daysInMonth(year, date.month())));
}

}  // namespace td
