#include "date_form.h"

#include <utility>

namespace td {

namespace {

QString defaultPattern() { return QStringLiteral("dd/MM/yyyy"); }

// Separators that every code page holds and that a QDate format takes literally.
bool isPlainSeparator(QChar c)
{
    static constexpr char16_t allowed[] = u"/.-,:;_\\|";
    for (char16_t a : allowed)
        if (a != 0 && c == a)
            return true;
    return false;
}

// The numeric form of a locale's short date format, or empty when the format
// names the day or month, lacks a field or has one twice. Quoted literal text
// ("'г'." after the year in Bulgarian) and blanks and direction marks (Arabic
// writes U+200F beside each "/") are dropped; they carry no date.
QString numericPattern(QStringView format)
{
    QString order;  // 'd', 'M' and 'y' in the locale's order
    QChar separator;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'\'') {
            const qsizetype close = format.indexOf(u'\'', i + 1);
            i = close < 0 ? format.size() : close + 1;
            continue;
        }
        if (c.isLetter()) {
            qsizetype run = 1;
            while (i + run < format.size() && format[i + run] == c)
                ++run;
            i += run;
            const bool numeric = ((c == u'd' || c == u'M') && run <= 2) || c == u'y';
            if (!numeric || order.contains(c))
                return {};
            order.append(c);
            continue;
        }
        const bool dropped = c.isSpace() || c.category() == QChar::Other_Format;
        if (!dropped && separator.isNull() && order.size() == 1)
            separator = c;
        ++i;
    }
    if (order.size() != 3)
        return {};
    if (!isPlainSeparator(separator))
        separator = u'/';

    QString pattern;
    for (const QChar field : std::as_const(order)) {
        if (!pattern.isEmpty())
            pattern.append(separator);
        pattern.append(field == u'd' ? u"dd" : field == u'M' ? u"MM" : u"yyyy");
    }
    return pattern;
}

// Walks a pattern of "dd", "MM", "yyyy" and single separator characters.
template <typename Field, typename Literal>
void walkPattern(QStringView pattern, Field field, Literal literal)
{
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (c == u'd' || c == u'M' || c == u'y') {
            const int width = c == u'y' ? 4 : 2;
            field(c, i, width);
            i += width;
        } else {
            literal(c, i);
            ++i;
        }
    }
}

}  // namespace

DateForm::DateForm() : m_pattern(defaultPattern()) {}

DateForm::DateForm(QString pattern) : m_pattern(std::move(pattern)) {}

// The C locale's short form names the month ("d MMM yyyy"), so it takes the
// default like every other locale without an all-numeric short form.
DateForm DateForm::fromLocale(const QLocale& locale)
{
    if (locale.language() == QLocale::C)
        return DateForm();
    const QString pattern = numericPattern(locale.dateFormat(QLocale::ShortFormat));
    return pattern.isEmpty() ? DateForm() : DateForm(pattern);
}

// Written by hand with ASCII digits: nothing here may depend on a locale.
// Years outside 1 to 9999 have no four-digit form and give an empty text.
QString DateForm::format(QDate date) const
{
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return {};
    QString text(m_pattern.size(), Qt::Uninitialized);
    QChar* out = text.data();
    walkPattern(
        m_pattern,
        [&](QChar field, qsizetype at, int width) {
            int value = field == u'd' ? date.day() : field == u'M' ? date.month() : date.year();
            for (int k = width - 1; k >= 0; --k) {
                out[at + k] = QChar(u'0' + value % 10);
                value /= 10;
            }
        },
        [&](QChar c, qsizetype at) { out[at] = c; });
    return text;
}

// Exactly the pattern: the right digits and separators in every place, blanks
// only around the whole text, and a real calendar date.
template <typename Text>
std::optional<QDate> DateForm::parseText(Text text) const
{
    const Text t = text.trimmed();
    if (t.size() != m_pattern.size())
        return std::nullopt;
    bool ok = true;
    int day = 0;
    int month = 0;
    int year = 0;
    walkPattern(
        m_pattern,
        [&](QChar field, qsizetype at, int width) {
            int value = 0;
            for (int k = 0; k < width; ++k) {
                const QChar c = t[at + k];
                ok = ok && c >= u'0' && c <= u'9';
                value = value * 10 + (c.unicode() - u'0');
            }
            (field == u'd' ? day : field == u'M' ? month : year) = value;
        },
        [&](QChar c, qsizetype at) { ok = ok && QChar(t[at]) == c; });
    if (!ok || year < 1)
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QDate> DateForm::parse(QStringView text) const { return parseText(text); }

std::optional<QDate> DateForm::parse(QLatin1String text) const { return parseText(text); }

QString FormatDate(QDate date, const DateForm& form) { return form.format(date); }

std::optional<QDate> ParseDate(QStringView text, const DateForm& form) { return form.parse(text); }

std::optional<int> YearOf(QStringView text, const DateForm& form)
{
    const std::optional<QDate> date = form.parse(text);
    if (!date)
        return std::nullopt;
    return date->year();
}

}  // namespace td
