#include "core/date_form.h"
#include "support/data_rows.h"

#include <QTest>

using namespace td;
using td::test::dataRow;

class TestDateForm : public QObject {
    Q_OBJECT

private slots:
    void followsTheLocale_data();
    void followsTheLocale();
    void roundTrip_data();
    void roundTrip();
    void parseIsStrict_data();
    void parseIsStrict();
    void datesWithoutAFourDigitYearHaveNoText();
    void yearOf();
    void ignoresTheDefaultLocale();
};

void TestDateForm::followsTheLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");  // 21 March 2001
    dataRow("en_GB", "en_GB", "dd/MM/yyyy", "21/03/2001");
    dataRow("en_US", "en_US", "MM/dd/yyyy", "03/21/2001");
    dataRow("de_DE", "de_DE", "dd.MM.yyyy", "21.03.2001");
    dataRow("ja_JP", "ja_JP", "yyyy/MM/dd", "2001/03/21");
    dataRow("fr_FR", "fr_FR", "dd/MM/yyyy", "21/03/2001");
    dataRow("C", "C", "dd/MM/yyyy", "21/03/2001");
    dataRow("POSIX", "POSIX", "dd/MM/yyyy", "21/03/2001");
    dataRow("nl_NL", "nl_NL", "dd-MM-yyyy", "21-03-2001");
    dataRow("ko_KR", "ko_KR", "yyyy.MM.dd", "2001.03.21");
    dataRow("fi_FI", "fi_FI", "dd.MM.yyyy", "21.03.2001");
    dataRow("hu_HU", "hu_HU", "yyyy.MM.dd", "2001.03.21");
    dataRow("sk_SK", "sk_SK", "dd.MM.yyyy", "21.03.2001");
    dataRow("en_CA", "en_CA", "yyyy-MM-dd", "2001-03-21");
    dataRow("bg_BG (quoted suffix)", "bg_BG", "dd.MM.yyyy", "21.03.2001");
    dataRow("ar_EG (direction marks)", "ar_EG", "dd/MM/yyyy", "21/03/2001");
}

void TestDateForm::followsTheLocale()
{
    QFETCH(QString, locale);
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    const DateForm form = DateForm::fromLocale(QLocale(locale));
    QCOMPARE(form.pattern(), pattern);
    QCOMPARE(FormatDate(QDate(2001, 3, 21), form), text);
    QCOMPARE(ParseDate(text, form), std::optional<QDate>(QDate(2001, 3, 21)));
}

void TestDateForm::roundTrip_data()
{
    QTest::addColumn<QString>("locale");
    for (const char* name : {"en_GB", "en_US", "de_DE", "ja_JP", "C", "nl_NL", "ko_KR", "hu_HU"})
        QTest::newRow(name) << name;
}

// Every date of the calendar's four-digit years writes ten characters that read
// back to the same date, and that the pattern, as a QDate format, reads alike.
void TestDateForm::roundTrip()
{
    QFETCH(QString, locale);
    const DateForm form = DateForm::fromLocale(QLocale(locale));
    QList<QDate> dates = {QDate(1, 1, 1),     QDate(1, 12, 31),   QDate(99, 2, 28),
                          QDate(999, 12, 31), QDate(1000, 1, 1),  QDate(1900, 2, 28),
                          QDate(2000, 2, 29), QDate(2024, 2, 29), QDate(9999, 12, 31)};
    for (QDate d = QDate(1, 1, 1); d.year() <= 9999; d = d.addDays(97))
        dates.append(d);
    for (const QDate& date : std::as_const(dates)) {
        const QString text = form.format(date);
        QCOMPARE(text.size(), 10);
        QCOMPARE(form.parse(text), std::optional<QDate>(date));
        if (date.year() >= 1000)
            QCOMPARE(QDate::fromString(text, form.pattern()), date);
    }
}

void TestDateForm::parseIsStrict_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected");  // invalid: not a date
    dataRow("exact", "21/03/2001", QDate(2001, 3, 21));
    dataRow("blanks around", "  21/03/2001\t", QDate(2001, 3, 21));
    dataRow("29 Feb of a leap year", "29/02/2000", QDate(2000, 2, 29));
    dataRow("first day", "01/01/0001", QDate(1, 1, 1));
    dataRow("last day", "31/12/9999", QDate(9999, 12, 31));
    dataRow("29 Feb of another year", "29/02/2001", QDate());
    dataRow("29 Feb 1900", "29/02/1900", QDate());
    dataRow("31 Feb", "31/02/2001", QDate());
    dataRow("day 0", "00/01/2001", QDate());
    dataRow("month 13", "01/13/2001", QDate());
    dataRow("year 0", "01/01/0000", QDate());
    dataRow("one-digit month", "21/3/2001", QDate());
    dataRow("two-digit year", "21/03/01", QDate());
    dataRow("five-digit year", "21/03/20011", QDate());
    dataRow("other separator", "21-03-2001", QDate());
    dataRow("month and day swapped", "03/21/2001", QDate());
    dataRow("blank inside", "21/ 3/2001", QDate());
    dataRow("sign inside", "+1/03/2001", QDate());
    dataRow("trailing text", "21/03/2001x", QDate());
    dataRow("non-ASCII digits", QString::fromUtf8("\xd9\xa2\xd9\xa1/03/2001"), QDate());
    dataRow("empty", "", QDate());
    dataRow("month name", "21 Mar 2001", QDate());
}

void TestDateForm::parseIsStrict()
{
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    const std::optional<QDate> parsed = ParseDate(text, DateForm());
    QCOMPARE(parsed.has_value(), expected.isValid());
    if (parsed)
        QCOMPARE(*parsed, expected);
    // A deposit file's bytes read as their text does.
    const QByteArray bytes = text.toLatin1();
    QCOMPARE(DateForm().parse(QLatin1String(bytes)), parsed);
}

void TestDateForm::datesWithoutAFourDigitYearHaveNoText()
{
    const DateForm form;
    QCOMPARE(form.format(QDate()), QString());
    QCOMPARE(form.format(QDate(10000, 1, 1)), QString());
    QCOMPARE(form.format(QDate(-1, 12, 31)), QString());
}

void TestDateForm::yearOf()
{
    const DateForm form = DateForm::fromLocale(QLocale(QStringLiteral("ja_JP")));
    QCOMPARE(YearOf(u"2001/03/21", form), std::optional<int>(2001));
    QCOMPARE(YearOf(u"0001/01/01", form), std::optional<int>(1));
    QCOMPARE(YearOf(u"21/03/2001", form), std::nullopt);
}

void TestDateForm::ignoresTheDefaultLocale()
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    const QString text = DateForm().format(QDate(2001, 3, 21));
    const std::optional<QDate> parsed = DateForm().parse(u"21/03/2001");
    const QString us = DateForm::fromLocale(QLocale(QStringLiteral("en_US"))).format(QDate(2001, 3, 21));
    QLocale::setDefault(saved);
    QCOMPARE(text, QStringLiteral("21/03/2001"));
    QCOMPARE(parsed, std::optional<QDate>(QDate(2001, 3, 21)));
    QCOMPARE(us, QStringLiteral("03/21/2001"));
}

QTEST_GUILESS_MAIN(TestDateForm)
#include "test_date_form.moc"
