#include "commands/record_terms.h"

#include "core/deposit_file_format.h"
#include "core/text_values.h"

#include <cstring>

namespace td {

using namespace deposit_file;

namespace {

// A field without the spaces at either end, as fieldText reads it.
struct Field {
    const char* begin;
    const char* end;
};

Field fieldOf(const char* record, int column)
{
    const char* begin = record + fieldOffset(column);
    const char* end = begin + fieldWidth(column);
    while (begin < end && *begin == ' ')
        ++begin;
    while (end > begin && end[-1] == ' ')
        --end;
    return {begin, end};
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "-$1,234.56", "12" and the like, with at most two decimals and 15
// digits: as whole cents c (|c| < 10^15), the text reads through
// ParseNumber as the double nearest c / 100, whose 15 significant digits are
// those of c / 100, so RoundToCents gives c back (0 for "-0").
std::optional<qint64> plainCents(Field f)
{
    const char* p = f.begin;
    const bool negative = p < f.end && *p == '-';
    p += negative ? 1 : 0;
    p += p < f.end && *p == '$' ? 1 : 0;
    if (p == f.end || !isDigit(*p))
        return std::nullopt;
    qint64 cents = 0;
    int digits = 0;
    for (; p < f.end && *p != '.'; ++p) {
        if (isDigit(*p)) {
            cents = cents * 10 + (*p - '0');
            ++digits;
        } else if (*p != ',') {
            return std::nullopt;
        }
    }
    int decimals = 0;
    if (p < f.end) {  // the point
        for (++p; p < f.end; ++p, ++decimals) {
            if (decimals == 2 || !isDigit(*p))
                return std::nullopt;
            cents = cents * 10 + (*p - '0');
        }
    }
    if (digits + 2 > 15)
        return std::nullopt;
    for (; decimals < 2; ++decimals)
        cents *= 10;
    return negative ? -cents : cents;
}

// "4.25": m digits over 10^d, both exact in a double, divided with one
// rounding, is the double nearest the decimal, as ParseNumber reads it.
std::optional<double> plainRate(Field f)
{
    static constexpr double kPowers[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
    qint64 mantissa = 0;
    int decimals = 0;
    bool point = false;
    bool anyDigit = false;
    for (const char* p = f.begin; p < f.end; ++p) {
        if (isDigit(*p)) {
            mantissa = mantissa * 10 + (*p - '0');
            decimals += point ? 1 : 0;
            anyDigit = true;
        } else if (*p == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    // A rate field holds 7 characters, so the mantissa has at most 7 digits.
    if (!anyDigit || f.end - f.begin > 8)
        return std::nullopt;
    return double(mantissa) / kPowers[decimals];
}

// "0" to "99".
std::optional<int> plainCount(Field f)
{
    if (f.begin == f.end || f.end - f.begin > 2)
        return std::nullopt;
    int count = 0;
    for (const char* p = f.begin; p < f.end; ++p) {
        if (!isDigit(*p))
            return std::nullopt;
        count = count * 10 + (*p - '0');
    }
    return count;
}

}  // namespace

RecordTermsReader::RecordTermsReader(const DateForm& form) : m_form(form)
{
    const QString pattern = form.pattern();
    m_tenPlaces = pattern.size() == qsizetype(sizeof m_places);
    for (qsizetype i = 0; m_tenPlaces && i < pattern.size(); ++i) {
        const char16_t c = pattern[i].unicode();
        m_tenPlaces = c > u' ' && c < 0x7f && !(c >= u'0' && c <= u'9');
        m_places[i] = char(c);
    }
}

// Ten bytes in the places of the form, digits where its digits go: what
// DateForm::parse reads them as.
std::optional<QDate> RecordTermsReader::plainDate(const char* record, int column) const
{
    const char* text = record + fieldOffset(column);
    if (!m_tenPlaces || fieldWidth(column) != int(sizeof m_places))
        return std::nullopt;
    int day = 0;
    int month = 0;
    int year = 0;
    for (std::size_t i = 0; i < sizeof m_places; ++i) {
        const char place = m_places[i];
        int* value = place == 'd' ? &day : place == 'M' ? &month : place == 'y' ? &year : nullptr;
        if (!value) {
            if (text[i] != place)
                return std::nullopt;
        } else if (isDigit(text[i])) {
            *value = *value * 10 + (text[i] - '0');
        } else {
            return std::nullopt;
        }
    }
    const QDate date(year, month, day);
    if (year < 1 || !date.isValid())
        return std::nullopt;
    return date;
}

RecordTerms RecordTermsReader::read(const char* record) const
{
    const std::optional<QDate> start = plainDate(record, StartDate);
    const std::optional<QDate> termDate = plainDate(record, TermDate);
    const std::optional<qint64> balance = plainCents(fieldOf(record, AccountBalance));
    const std::optional<qint64> saving = plainCents(fieldOf(record, SaveEachMonth));
    const std::optional<double> rate = plainRate(fieldOf(record, Interest));
    const std::optional<int> years = plainCount(fieldOf(record, Years));
    const std::optional<int> months = plainCount(fieldOf(record, Months));
    const Field active = fieldOf(record, Active);
    if (!start || !termDate || !balance || !saving || !rate || !years || !months) {
        DepositRecord deposit;
        for (const int column : {SaveEachMonth, Interest, Years, Months, StartDate, TermDate, AccountBalance})
            deposit[column] = fieldText(record, column);
        RecordTerms terms = read(deposit);
        terms.active = active.end - active.begin == 3 && std::memcmp(active.begin, "Yes", 3) == 0;
        return terms;
    }
    return {DepositTerms{*start, *balance, *saving, *rate, *years * 12 + *months}, termDate,
            active.end - active.begin == 3 && std::memcmp(active.begin, "Yes", 3) == 0};
}

RecordTerms RecordTermsReader::read(const DepositRecord& deposit) const
{
    return {depositTerms(deposit, m_form), ParseDate(deposit[TermDate], m_form),
            deposit[Active] == QLatin1String("Yes")};
}

}  // namespace td
