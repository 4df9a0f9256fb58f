#include "core/text_values.h"

#include <QLocale>
#include <QTest>
#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>

using namespace td;

namespace {

// Exact comparison: conversions must give the nearest double, not one close by.
void compareExactly(double actual, double expected)
{
    QVERIFY2(actual == expected && std::signbit(actual) == std::signbit(expected),
             qPrintable(QStringLiteral("%1 != %2").arg(actual, 0, 'g', 17).arg(expected, 0, 'g', 17)));
}

constexpr double kInf = std::numeric_limits<double>::infinity();

}  // namespace

class TestTextValues : public QObject {
    Q_OBJECT

private slots:
    void roundsDecimalHalvesAwayFromZero_data();
    void roundsDecimalHalvesAwayFromZero();
    void formatMoneyOfAmount_data();
    void formatMoneyOfAmount();
    void formatsTexts_data();
    void formatsTexts();
    void moneyTextsFormatToThemselves();
    void hugeAmountsAreWrittenInFull();
    void parseNumber_data();
    void parseNumber();
    void leadingNumber_data();
    void leadingNumber();
    void moneyTextIsReadThroughTwoDecimals_data();
    void moneyTextIsReadThroughTwoDecimals();
    void ignoresTheLocale();
    void addYears_data();
    void addYears();
    void addMonths_data();
    void addMonths();
};

void TestTextValues::roundsDecimalHalvesAwayFromZero_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("expected");
    QTest::newRow("0.125") << 0.125 << "0.13";
    QTest::newRow("2.675 (below the half in binary)") << 2.675 << "2.68";
    QTest::newRow("1.005 (below the half in binary)") << 1.005 << "1.01";
    QTest::newRow("1.015") << 1.015 << "1.02";
    QTest::newRow("0.285") << 0.285 << "0.29";
    QTest::newRow("8.345") << 8.345 << "8.35";
    QTest::newRow("0.004") << 0.004 << "0.00";
    QTest::newRow("0.005") << 0.005 << "0.01";
    QTest::newRow("-2.675") << -2.675 << "-2.68";
    QTest::newRow("-0.125") << -0.125 << "-0.13";
    QTest::newRow("-0.004 has no minus") << -0.004 << "0.00";
    QTest::newRow("-0.0 has no minus") << -0.0 << "0.00";
    QTest::newRow("14 significant nines stay below the half") << 0.0049999999999999 << "0.00";
    QTest::newRow("15 significant nines stay below the half") << 0.00499999999999999 << "0.00";
    QTest::newRow("16 significant nines reach the half") << 0.004999999999999999 << "0.01";
    QTest::newRow("1.00499999999999 stays") << 1.00499999999999 << "1.00";
    QTest::newRow("half a cent below 10^12") << 999999999999.995 << "1000000000000.00";
    QTest::newRow("tiny") << 1e-300 << "0.00";
    QTest::newRow("smallest subnormal") << std::numeric_limits<double>::denorm_min() << "0.00";
    QTest::newRow("10^15") << 1e15 << "1000000000000000.00";
}

void TestTextValues::roundsDecimalHalvesAwayFromZero()
{
    QFETCH(double, amount);
    QFETCH(QString, expected);
    QCOMPARE(FormatTwoDecimals(amount), expected);
}

void TestTextValues::formatMoneyOfAmount_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("expected");
    QTest::newRow("0") << 0.0 << "$0.00";
    QTest::newRow("0.5") << 0.5 << "$0.50";
    QTest::newRow("0.004") << 0.004 << "$0.00";
    QTest::newRow("0.005") << 0.005 << "$0.01";
    QTest::newRow("999") << 999.0 << "$999.00";
    QTest::newRow("1000") << 1000.0 << "$1,000.00";
    QTest::newRow("worked example") << 14678.587215277928 << "$14,678.59";
    QTest::newRow("999999999") << 999999999.0 << "$999,999,999.00";
    QTest::newRow("999999999.995") << 999999999.995 << "$1,000,000,000.00";
    QTest::newRow("-12.5") << -12.5 << "-$12.50";
    QTest::newRow("-1234567.891") << -1234567.891 << "-$1,234,567.89";
    QTest::newRow("123456789012.345") << 123456789012.345 << "$123,456,789,012.35";
    QTest::newRow("10^20") << 1e20 << "$100,000,000,000,000,000,000.00";
    QTest::newRow("1.23456789012345678e20 to 15 digits")
        << 1.23456789012345678e20 << "$123,456,789,012,346,000,000.00";
    QTest::newRow("infinity") << kInf << "$Infinity";
    QTest::newRow("-infinity") << -kInf << "-$Infinity";
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << "NaN";
}

void TestTextValues::formatMoneyOfAmount()
{
    QFETCH(double, amount);
    QFETCH(QString, expected);
    QCOMPARE(FormatMoney(amount), expected);
}

void TestTextValues::formatsTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("money");
    QTest::addColumn<QString>("twoDecimals");
    QTest::newRow("$1,234.5") << "$1,234.5"
                              << "$1,234.50"
                              << "1234.50";
    QTest::newRow("$1,234.50") << "$1,234.50"
                               << "$1,234.50"
                               << "1234.50";
    QTest::newRow("$10,000") << "$10,000"
                             << "$10,000.00"
                             << "10000.00";
    QTest::newRow("1234.5") << "1234.5"
                            << "$1,234.50"
                            << "1234.50";
    QTest::newRow("-$12.50") << "-$12.50"
                             << "-$12.50"
                             << "-12.50";
    QTest::newRow("blanks around") << "  100\t"
                                   << "$100.00"
                                   << "100.00";
    QTest::newRow("2.675") << "2.675"
                           << "$2.68"
                           << "2.68";
    QTest::newRow("10000.555") << "10000.555"
                               << "$10,000.56"
                               << "10000.56";
    QTest::newRow("exponent") << "1.5e3"
                              << "$1,500.00"
                              << "1500.00";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
    QTest::newRow("abc") << "abc"
                         << "abc"
                         << "abc";
    QTest::newRow("12abc") << "12abc"
                           << "12abc"
                           << "12abc";
    QTest::newRow("two points") << "1.2.3"
                                << "1.2.3"
                                << "1.2.3";
    QTest::newRow("beyond double range") << "1e400"
                                         << "1e400"
                                         << "1e400";
    QTest::newRow("lone $") << "$"
                            << "$"
                            << "$";
}

void TestTextValues::formatsTexts()
{
    QFETCH(QString, text);
    QFETCH(QString, money);
    QFETCH(QString, twoDecimals);
    QCOMPARE(FormatMoney(text), money);
    QCOMPARE(FormatTwoDecimals(text), twoDecimals);
}

// Every money text, written here by an independent route (integer cents grouped
// by the en_US locale), must format to itself: boxes are formatted again each
// time they lose the focus.
void TestTextValues::moneyTextsFormatToThemselves()
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    for (qint64 cents = 0; cents < 100'000'000'000LL; cents = cents * 3 + 7) {
        for (qint64 c : {cents, cents + 1, cents + 99}) {
            const QString text =
                QStringLiteral("$%1.%2").arg(us.toString(c / 100)).arg(c % 100, 2, 10, QLatin1Char('0'));
            QCOMPARE(FormatMoney(text), text);
            const QString negative = QStringLiteral("-") + text;
            QCOMPARE(FormatMoney(negative), c == 0 ? text : negative);
        }
    }
}

void TestTextValues::hugeAmountsAreWrittenInFull()
{
    // DBL_MAX to 15 digits is 1.79769313486232e308: 309 integer digits in 103 groups.
    const QString text = FormatMoney(DBL_MAX);
    QVERIFY(text.startsWith(QLatin1String("$179,769,313,486,232,000,000,")));
    QVERIFY(text.endsWith(QLatin1String(",000,000.00")));
    QCOMPARE(text.size(), 1 + 309 + 102 + 3);
    QCOMPARE(FormatMoney(text), text);
    QCOMPARE(FormatTwoDecimals(-DBL_MAX).size(), 1 + 309 + 3);
}

void TestTextValues::parseNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("amount");
    QTest::newRow("1234.5") << "1234.5" << true << 1234.5;
    QTest::newRow("$1,234.50") << "$1,234.50" << true << 1234.5;
    QTest::newRow("-$12.50") << "-$12.50" << true << -12.5;
    QTest::newRow("+$12.50") << "+$12.50" << true << 12.5;
    QTest::newRow("100 with blanks") << " \t100  " << true << 100.0;
    QTest::newRow("$14,678.59") << "$14,678.59" << true << 14678.59;
    QTest::newRow("1,234,567") << "1,234,567" << true << 1234567.0;
    QTest::newRow(".5") << ".5" << true << 0.5;
    QTest::newRow("5.") << "5." << true << 5.0;
    QTest::newRow("0.1 is the nearest double") << "0.1" << true << 0.1;
    QTest::newRow("exponent") << "-1.5E-2" << true << -0.015;
    QTest::newRow("signed exponent") << "2e+3" << true << 2000.0;
    QTest::newRow("many digits") << "123456789012345678901234567890" << true << 1.2345678901234568e29;
    QTest::newRow("largest double") << "1.7976931348623157e308" << true << DBL_MAX;
    QTest::newRow("smallest normal") << "2.2250738585072014e-308" << true << DBL_MIN;
    QTest::newRow("underflow is zero") << "1e-400" << true << 0.0;
    QTest::newRow("zeros before a huge exponent") << "0.0000000001e99999999999999999999" << false << 0.0;
    QTest::newRow("zero with a huge exponent") << "0e99999999999999999999" << true << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blanks") << "   " << false << 0.0;
    QTest::newRow("lone .") << "." << false << 0.0;
    QTest::newRow("lone $") << "$" << false << 0.0;
    QTest::newRow("lone -") << "-" << false << 0.0;
    QTest::newRow("12abc") << "12abc" << false << 0.0;
    QTest::newRow("two points") << "1.2.3" << false << 0.0;
    QTest::newRow("$ before sign") << "$-12" << false << 0.0;
    QTest::newRow("comma first") << ",5" << false << 0.0;
    QTest::newRow("comma in decimals") << "1.2,5" << false << 0.0;
    QTest::newRow("blank inside") << "1 2" << false << 0.0;
    QTest::newRow("exponent without digits") << "1e" << false << 0.0;
    QTest::newRow("exponent with only a sign") << "1e+" << false << 0.0;
    QTest::newRow("beyond double range") << "1e400" << false << 0.0;
    QTest::newRow("two signs") << "--5" << false << 0.0;
    QTest::newRow("non-ASCII digits") << QString::fromUtf8("\xd9\xa1\xd9\xa2") << false << 0.0;
}

void TestTextValues::parseNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, amount);
    const std::optional<double> parsed = ParseNumber(text);
    QCOMPARE(parsed.has_value(), isNumber);
    if (parsed)
        compareExactly(*parsed, amount);
}

void TestTextValues::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    QTest::newRow("2") << "2" << 2.0;
    QTest::newRow("5.25") << "5.25" << 5.25;
    QTest::newRow("5.") << "5." << 5.0;
    QTest::newRow(".5") << ".5" << 0.5;
    QTest::newRow("12.5.3") << "12.5.3" << 12.5;
    QTest::newRow("1,234.50") << "1,234.50" << 1.0;
    QTest::newRow("$1,234.50") << "$1,234.50" << 0.0;
    QTest::newRow("$10,000.00") << "$10,000.00" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("lone .") << "." << 0.0;
    QTest::newRow("blanks everywhere") << " 1 2 . 5 " << 12.5;
    QTest::newRow("-5") << "-5" << -5.0;
    QTest::newRow("blank after sign") << "- 5" << -5.0;
    QTest::newRow("+5") << "+5" << 5.0;
    QTest::newRow("two signs") << "--5" << 0.0;
    QTest::newRow("12abc") << "12abc" << 12.0;
    QTest::newRow("abc") << "abc" << 0.0;
    QTest::newRow("10000.555") << "10000.555" << 10000.555;
    QTest::newRow("exponent") << "1E3" << 1000.0;
    QTest::newRow("negative exponent with blanks") << "2.5 E - 1x" << 0.25;
    QTest::newRow("E without digits") << "5E" << 5.0;
    QTest::newRow("E with only a sign") << "5E+x" << 5.0;
    QTest::newRow("overflowing exponent") << "1E999" << kInf;
    QTest::newRow("0.1 is the nearest double") << "0.1" << 0.1;
}

void TestTextValues::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, number);
    compareExactly(LeadingNumber(text), number);
}

void TestTextValues::moneyTextIsReadThroughTwoDecimals_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("amount");
    QTest::newRow("$10,000.00") << "$10,000.00" << 10000.0;
    QTest::newRow("10000.555 rounds to cents") << "10000.555" << 10000.56;
    QTest::newRow("12abc") << "12abc" << 12.0;
    QTest::newRow("-$1,234.5") << "-$1,234.5" << -1234.5;
    QTest::newRow("empty") << "" << 0.0;
}

void TestTextValues::moneyTextIsReadThroughTwoDecimals()
{
    QFETCH(QString, text);
    QFETCH(double, amount);
    compareExactly(LeadingNumber(FormatTwoDecimals(text)), amount);
}

void TestTextValues::ignoresTheLocale()
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString money = FormatMoney(QStringLiteral("1234.5"));
    const std::optional<double> parsed = ParseNumber(u"$1,234.50");
    const double leading = LeadingNumber(u"1234.5");
    QLocale::setDefault(saved);
    QCOMPARE(money, QStringLiteral("$1,234.50"));
    QVERIFY(parsed && *parsed == 1234.5);
    QCOMPARE(leading, 1234.5);
}

void TestTextValues::addYears_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("years");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("29 Feb 2024 + 1") << QDate(2024, 2, 29) << 1 << QDate(2025, 2, 28);
    QTest::newRow("29 Feb 2024 + 4") << QDate(2024, 2, 29) << 4 << QDate(2028, 2, 29);
    QTest::newRow("29 Feb 2024 - 1") << QDate(2024, 2, 29) << -1 << QDate(2023, 2, 28);
    QTest::newRow("29 Feb 2000 + 100 (2100 is no leap year)")
        << QDate(2000, 2, 29) << 100 << QDate(2100, 2, 28);
    QTest::newRow("29 Feb 1600 + 400") << QDate(1600, 2, 29) << 400 << QDate(2000, 2, 29);
    QTest::newRow("31 Jan 2024 + 2") << QDate(2024, 1, 31) << 2 << QDate(2026, 1, 31);
    QTest::newRow("n = 0") << QDate(2024, 2, 29) << 0 << QDate(2024, 2, 29);
    QTest::newRow("to 9999") << QDate(9998, 12, 31) << 1 << QDate(9999, 12, 31);
    QTest::newRow("beyond 9999") << QDate(9999, 1, 1) << 1 << QDate();
    QTest::newRow("99 years beyond 9999") << QDate(9950, 6, 1) << 99 << QDate();
    QTest::newRow("to year 1") << QDate(2, 3, 4) << -1 << QDate(1, 3, 4);
    QTest::newRow("before year 1") << QDate(1, 1, 1) << -1 << QDate();
    QTest::newRow("INT_MAX") << QDate(2024, 1, 1) << INT_MAX << QDate();
    QTest::newRow("INT_MIN") << QDate(2024, 1, 1) << INT_MIN << QDate();
    QTest::newRow("invalid date") << QDate() << 1 << QDate();
}

void TestTextValues::addYears()
{
    QFETCH(QDate, date);
    QFETCH(int, years);
    QFETCH(QDate, expected);
    QCOMPARE(AddYears(date, years), expected);
}

void TestTextValues::addMonths_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("months");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("31 Jan 2023 + 1") << QDate(2023, 1, 31) << 1 << QDate(2023, 2, 28);
    QTest::newRow("31 Aug 2023 + 6") << QDate(2023, 8, 31) << 6 << QDate(2024, 2, 29);
    QTest::newRow("29 Feb 2024 + 12") << QDate(2024, 2, 29) << 12 << QDate(2025, 2, 28);
    QTest::newRow("29 Feb 2024 + 48") << QDate(2024, 2, 29) << 48 << QDate(2028, 2, 29);
    QTest::newRow("31 Jan 2026 + 6") << QDate(2026, 1, 31) << 6 << QDate(2026, 7, 31);
    QTest::newRow("31 May 2023 + 1") << QDate(2023, 5, 31) << 1 << QDate(2023, 6, 30);
    QTest::newRow("31 Mar 2024 - 1") << QDate(2024, 3, 31) << -1 << QDate(2024, 2, 29);
    QTest::newRow("15 Dec 2023 + 1") << QDate(2023, 12, 15) << 1 << QDate(2024, 1, 15);
    QTest::newRow("15 Jan 2024 - 1") << QDate(2024, 1, 15) << -1 << QDate(2023, 12, 15);
    QTest::newRow("31 Dec 2023 - 12") << QDate(2023, 12, 31) << -12 << QDate(2022, 12, 31);
    QTest::newRow("n = 0") << QDate(2023, 1, 31) << 0 << QDate(2023, 1, 31);
    QTest::newRow("to 31 Dec 9999") << QDate(9999, 11, 30) << 1 << QDate(9999, 12, 30);
    QTest::newRow("beyond 9999") << QDate(9999, 12, 31) << 1 << QDate();
    QTest::newRow("before year 1") << QDate(1, 1, 15) << -1 << QDate();
    QTest::newRow("INT_MAX") << QDate(2024, 1, 1) << INT_MAX << QDate();
    QTest::newRow("INT_MIN") << QDate(2024, 1, 1) << INT_MIN << QDate();
}

void TestTextValues::addMonths()
{
    QFETCH(QDate, date);
    QFETCH(int, months);
    QFETCH(QDate, expected);
    QCOMPARE(AddMonths(date, months), expected);
}

QTEST_GUILESS_MAIN(TestTextValues)
#include "test_text_values.moc"
