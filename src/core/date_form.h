#pragma once

#include <QDate>
#include <QLatin1String>
#include <QLocale>
#include <QString>
#include <QStringView>
#include <optional>

namespace td {

// The one short date form of the program, fixed at start-up from a locale:
// the locale's order of day, month and year and its first separator, with
// two-digit day and month and a four-digit year, so every date text is ten
// characters and reads back to the same date. Locales whose short form is not
// all digits (C/POSIX) use dd/MM/yyyy.
class DateForm {
public:
    DateForm();  // dd/MM/yyyy
    static DateForm fromLocale(const QLocale& locale);

    QString pattern() const { return m_pattern; }  // a QDate format, e.g. "dd/MM/yyyy"
    QString format(QDate date) const;              // empty for an invalid date
    std::optional<QDate> parse(QStringView text) const;
    // The same from bytes of a deposit file's field: a date text is all ASCII.
    std::optional<QDate> parse(QLatin1String text) const;

private:
    explicit DateForm(QString pattern);
    template <typename Text>
    std::optional<QDate> parseText(Text text) const;
    QString m_pattern;
};

QString FormatDate(QDate date, const DateForm& form);
std::optional<QDate> ParseDate(QStringView text, const DateForm& form);
std::optional<int> YearOf(QStringView text, const DateForm& form);

}  // namespace td
