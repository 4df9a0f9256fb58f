#include "core/text_values.h"
#include "support/data_rows.h"

#include <QLocale>
#include <QTest>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>

using namespace td;
using td::test::dataRow;

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
    void centsAsShownAgreesWithTheDecimalPath_data();
    void centsAsShownAgreesWithTheDecimalPath();
    void centsAsShownAgreesOnRandomAmounts();
    void formatMoneyOfAmount_data();
    void formatMoneyOfAmount();
    void formatsTexts_data();
    void formatsTexts();
    void moneyTextsFormatToThemselves();
    void hugeAmountsAreWrittenInFull();
    void parseNumber_data();
    void parseNumber();
    void plainAmountsReadAsTheirDecimals();
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
    dataRow("0.125", 0.125, "0.13");
    dataRow("2.675 (below the half in binary)", 2.675, "2.68");
    dataRow("1.005 (below the half in binary)", 1.005, "1.01");
    dataRow("1.015", 1.015, "1.02");
    dataRow("0.285", 0.285, "0.29");
    dataRow("8.345", 8.345, "8.35");
    dataRow("0.004", 0.004, "0.00");
    dataRow("0.005", 0.005, "0.01");
    dataRow("-2.675", -2.675, "-2.68");
    dataRow("-0.125", -0.125, "-0.13");
    dataRow("-0.004 has no minus", -0.004, "0.00");
    dataRow("-0.0 has no minus", -0.0, "0.00");
    dataRow("14 significant nines stay below the half", 0.0049999999999999, "0.00");
    dataRow("15 significant nines stay below the half", 0.00499999999999999, "0.00");
    dataRow("16 significant nines reach the half", 0.004999999999999999, "0.01");
    dataRow("1.00499999999999 stays", 1.00499999999999, "1.00");
    dataRow("half a cent below 10^12", 999999999999.995, "1000000000000.00");
    dataRow("tiny", 1e-300, "0.00");
    dataRow("smallest subnormal", std::numeric_limits<double>::denorm_min(), "0.00");
    dataRow("10^15", 1e15, "1000000000000000.00");
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
    dataRow("0", 0.0, "$0.00");
    dataRow("0.5", 0.5, "$0.50");
    dataRow("0.004", 0.004, "$0.00");
    dataRow("0.005", 0.005, "$0.01");
    dataRow("999", 999.0, "$999.00");
    dataRow("1000", 1000.0, "$1,000.00");
    dataRow("worked example", 14678.587215277928, "$14,678.59");
    dataRow("999999999", 999999999.0, "$999,999,999.00");
    dataRow("999999999.995", 999999999.995, "$1,000,000,000.00");
    dataRow("-12.5", -12.5, "-$12.50");
    dataRow("-1234567.891", -1234567.891, "-$1,234,567.89");
    dataRow("123456789012.345", 123456789012.345, "$123,456,789,012.35");
    dataRow("10^20", 1e20, "$100,000,000,000,000,000,000.00");
    dataRow("1.23456789012345678e20 to 15 digits", 1.23456789012345678e20, "$123,456,789,012,346,000,000.00");
    dataRow("infinity", kInf, "$Infinity");
    dataRow("-infinity", -kInf, "-$Infinity");
    dataRow("NaN", std::numeric_limits<double>::quiet_NaN(), "NaN");
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
    dataRow("$1,234.5", "$1,234.5", "$1,234.50", "1234.50");
    dataRow("$1,234.50", "$1,234.50", "$1,234.50", "1234.50");
    dataRow("$10,000", "$10,000", "$10,000.00", "10000.00");
    dataRow("1234.5", "1234.5", "$1,234.50", "1234.50");
    dataRow("-$12.50", "-$12.50", "-$12.50", "-12.50");
    dataRow("blanks around", "  100\t", "$100.00", "100.00");
    dataRow("2.675", "2.675", "$2.68", "2.68");
    dataRow("10000.555", "10000.555", "$10,000.56", "10000.56");
    dataRow("exponent", "1.5e3", "$1,500.00", "1500.00");
    dataRow("empty", "", "", "");
    dataRow("abc", "abc", "abc", "abc");
    dataRow("12abc", "12abc", "12abc", "12abc");
    dataRow("two points", "1.2.3", "1.2.3", "1.2.3");
    dataRow("beyond double range", "1e400", "1e400", "1e400");
    dataRow("lone $", "$", "$", "$");
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
    dataRow("1234.5", "1234.5", true, 1234.5);
    dataRow("$1,234.50", "$1,234.50", true, 1234.5);
    dataRow("-$12.50", "-$12.50", true, -12.5);
    dataRow("+$12.50", "+$12.50", true, 12.5);
    dataRow("100 with blanks", " \t100  ", true, 100.0);
    dataRow("$14,678.59", "$14,678.59", true, 14678.59);
    dataRow("1,234,567", "1,234,567", true, 1234567.0);
    dataRow(".5", ".5", true, 0.5);
    dataRow("5.", "5.", true, 5.0);
    dataRow("0.1 is the nearest double", "0.1", true, 0.1);
    dataRow("exponent", "-1.5E-2", true, -0.015);
    dataRow("signed exponent", "2e+3", true, 2000.0);
    dataRow("many digits", "123456789012345678901234567890", true, 1.2345678901234568e29);
    dataRow("largest double", "1.7976931348623157e308", true, DBL_MAX);
    dataRow("smallest normal", "2.2250738585072014e-308", true, DBL_MIN);
    dataRow("underflow is zero", "1e-400", true, 0.0);
    dataRow("zeros before a huge exponent", "0.0000000001e99999999999999999999", false, 0.0);
    dataRow("zero with a huge exponent", "0e99999999999999999999", true, 0.0);
    dataRow("empty", "", false, 0.0);
    dataRow("blanks", "   ", false, 0.0);
    dataRow("lone .", ".", false, 0.0);
    dataRow("lone $", "$", false, 0.0);
    dataRow("lone -", "-", false, 0.0);
    dataRow("12abc", "12abc", false, 0.0);
    dataRow("two points", "1.2.3", false, 0.0);
    dataRow("$ before sign", "$-12", false, 0.0);
    dataRow("comma first", ",5", false, 0.0);
    dataRow("comma in decimals", "1.2,5", false, 0.0);
    dataRow("blank inside", "1 2", false, 0.0);
    dataRow("exponent without digits", "1e", false, 0.0);
    dataRow("exponent with only a sign", "1e+", false, 0.0);
    dataRow("beyond double range", "1e400", false, 0.0);
    dataRow("two signs", "--5", false, 0.0);
    dataRow("non-ASCII digits", QString::fromUtf8("\xd9\xa1\xd9\xa2"), false, 0.0);
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

// The amounts the program writes, read the quick way, are the doubles
// nearest their decimals, as the C library reads them.
void TestTextValues::plainAmountsReadAsTheirDecimals()
{
    quint64 cents = 1;
    for (int i = 0; i < 20000; ++i) {
        cents = (cents * 6364136223846793005ULL + 1442695040888963407ULL) >> 1;
        const qint64 amount = qint64(cents % (qint64(1) << (i % 50)));
        const QString decimal =
            QString::number(amount / 100) +
            (i % 3 ? QStringLiteral(".%1").arg(amount % 100, 2, 10, QLatin1Char('0')) : QString());
        const double expected = (i % 5 ? 1 : -1) * std::strtod(decimal.toLatin1().constData(), nullptr);
        for (const QString& text : {(i % 5 ? QString() : QStringLiteral("-")) + decimal,
                                    (i % 5 ? QString() : QStringLiteral("-")) + FormatMoney(decimal)}) {
            const std::optional<double> read = ParseNumber(text);
            QVERIFY2(read, qPrintable(text));
            compareExactly(*read, expected);
        }
    }
}

void TestTextValues::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    dataRow("2", "2", 2.0);
    dataRow("5.25", "5.25", 5.25);
    dataRow("5.", "5.", 5.0);
    dataRow(".5", ".5", 0.5);
    dataRow("12.5.3", "12.5.3", 12.5);
    dataRow("1,234.50", "1,234.50", 1.0);
    dataRow("$1,234.50", "$1,234.50", 0.0);
    dataRow("$10,000.00", "$10,000.00", 0.0);
    dataRow("empty", "", 0.0);
    dataRow("lone .", ".", 0.0);
    dataRow("blanks everywhere", " 1 2 . 5 ", 12.5);
    dataRow("-5", "-5", -5.0);
    dataRow("blank after sign", "- 5", -5.0);
    dataRow("+5", "+5", 5.0);
    dataRow("two signs", "--5", 0.0);
    dataRow("12abc", "12abc", 12.0);
    dataRow("abc", "abc", 0.0);
    dataRow("10000.555", "10000.555", 10000.555);
    dataRow("exponent", "1E3", 1000.0);
    dataRow("negative exponent with blanks", "2.5 E - 1x", 0.25);
    dataRow("E without digits", "5E", 5.0);
    dataRow("E with only a sign", "5E+x", 5.0);
    dataRow("overflowing exponent", "1E999", kInf);
    dataRow("0.1 is the nearest double", "0.1", 0.1);
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
    dataRow("$10,000.00", "$10,000.00", 10000.0);
    dataRow("10000.555 rounds to cents", "10000.555", 10000.56);
    dataRow("12abc", "12abc", 12.0);
    dataRow("-$1,234.5", "-$1,234.5", -1234.5);
    dataRow("empty", "", 0.0);
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
    dataRow("29 Feb 2024 + 1", QDate(2024, 2, 29), 1, QDate(2025, 2, 28));
    dataRow("29 Feb 2024 + 4", QDate(2024, 2, 29), 4, QDate(2028, 2, 29));
    dataRow("29 Feb 2024 - 1", QDate(2024, 2, 29), -1, QDate(2023, 2, 28));
    dataRow("29 Feb 2000 + 100 (2100 is no leap year)", QDate(2000, 2, 29), 100, QDate(2100, 2, 28));
    dataRow("29 Feb 1600 + 400", QDate(1600, 2, 29), 400, QDate(2000, 2, 29));
    dataRow("31 Jan 2024 + 2", QDate(2024, 1, 31), 2, QDate(2026, 1, 31));
    dataRow("n = 0", QDate(2024, 2, 29), 0, QDate(2024, 2, 29));
    dataRow("to 9999", QDate(9998, 12, 31), 1, QDate(9999, 12, 31));
    dataRow("beyond 9999", QDate(9999, 1, 1), 1, QDate());
    dataRow("99 years beyond 9999", QDate(9950, 6, 1), 99, QDate());
    dataRow("to year 1", QDate(2, 3, 4), -1, QDate(1, 3, 4));
    dataRow("before year 1", QDate(1, 1, 1), -1, QDate());
    dataRow("INT_MAX", QDate(2024, 1, 1), INT_MAX, QDate());
    dataRow("INT_MIN", QDate(2024, 1, 1), INT_MIN, QDate());
    dataRow("invalid date", QDate(), 1, QDate());
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
    dataRow("31 Jan 2023 + 1", QDate(2023, 1, 31), 1, QDate(2023, 2, 28));
    dataRow("31 Aug 2023 + 6", QDate(2023, 8, 31), 6, QDate(2024, 2, 29));
    dataRow("29 Feb 2024 + 12", QDate(2024, 2, 29), 12, QDate(2025, 2, 28));
    dataRow("29 Feb 2024 + 48", QDate(2024, 2, 29), 48, QDate(2028, 2, 29));
    dataRow("31 Jan 2026 + 6", QDate(2026, 1, 31), 6, QDate(2026, 7, 31));
    dataRow("31 May 2023 + 1", QDate(2023, 5, 31), 1, QDate(2023, 6, 30));
    dataRow("31 Mar 2024 - 1", QDate(2024, 3, 31), -1, QDate(2024, 2, 29));
    dataRow("15 Dec 2023 + 1", QDate(2023, 12, 15), 1, QDate(2024, 1, 15));
    dataRow("15 Jan 2024 - 1", QDate(2024, 1, 15), -1, QDate(2023, 12, 15));
    dataRow("31 Dec 2023 - 12", QDate(2023, 12, 31), -12, QDate(2022, 12, 31));
    dataRow("n = 0", QDate(2023, 1, 31), 0, QDate(2023, 1, 31));
    dataRow("to 31 Dec 9999", QDate(9999, 11, 30), 1, QDate(9999, 12, 30));
    dataRow("beyond 9999", QDate(9999, 12, 31), 1, QDate());
    dataRow("before year 1", QDate(1, 1, 15), -1, QDate());
    dataRow("INT_MAX", QDate(2024, 1, 1), INT_MAX, QDate());
    dataRow("INT_MIN", QDate(2024, 1, 1), INT_MIN, QDate());
}

void TestTextValues::addMonths()
{
    QFETCH(QDate, date);
    QFETCH(int, months);
    QFETCH(QDate, expected);
    QCOMPARE(AddMonths(date, months), expected);
}

// The quick cents must be the decimal path's cents to the last one.
void TestTextValues::centsAsShownAgreesWithTheDecimalPath_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<qint64>("cents");  // -1 for none
    dataRow("zero", 0.0, qint64(0));
    dataRow("minus zero", -0.0, qint64(0));
    dataRow("2.675 (below the half in binary)", 2.675, qint64(268));
    dataRow("1.005 (below the half in binary)", 1.005, qint64(101));
    dataRow("-1.005", -1.005, qint64(-101));
    dataRow("0.005", 0.005, qint64(1));
    dataRow("16 nines reach the half", 0.004999999999999999, qint64(1));
    dataRow("15 nines stay below it", 0.00499999999999999, qint64(0));
    dataRow("15 digits reach the half", 1234567.8949999999, qint64(123456790));
    dataRow("just below that", 1234567.894999, qint64(123456789));
    dataRow("a half cent short of 10^11", 99999999999.995, qint64(10000000000000));
    dataRow("10^11", 1e11, qint64(10000000000000));
    dataRow("half a cent below 10^12", 999999999999.995, qint64(100000000000000));
    dataRow("rounds up to 10^13", 9999999999999.999, qint64(-1));
    dataRow("10^13", 1e13, qint64(-1));
    dataRow("smallest subnormal", std::numeric_limits<double>::denorm_min(), qint64(0));
    dataRow("-0.004", -0.004, qint64(0));
    dataRow("infinity", kInf, qint64(-1));
    dataRow("NaN", std::numeric_limits<double>::quiet_NaN(), qint64(-1));
}

void TestTextValues::centsAsShownAgreesWithTheDecimalPath()
{
    QFETCH(double, amount);
    QFETCH(qint64, cents);
    const std::optional<qint64> exact = RoundToCents(RoundSignificant15(amount));
    QCOMPARE(exact.value_or(-1), cents);
    QCOMPARE(CentsAsShown(amount), exact);
}

// Amounts of every size, and many a hair from a half cent.
void TestTextValues::centsAsShownAgreesOnRandomAmounts()
{
    std::mt19937_64 random(20260923);
    std::uniform_real_distribution<double> exponent(-4, 13.2);
    std::uniform_int_distribution<qint64> cents(-100'000'000'000, 100'000'000'000);
    std::uniform_int_distribution<int> ulps(-40, 40);
    for (int i = 0; i < 300'000; ++i) {
        double amount = 0;
        switch (i % 3) {
        case 0:  // anywhere
            amount = std::pow(10.0, exponent(random)) * (i % 2 ? -1 : 1);
            break;
        case 1:  // on a half cent, or a few doubles off it
            amount = (double(cents(random)) + 0.5) / 100;
            for (int k = ulps(random); k != 0; k += k > 0 ? -1 : 1)
                amount = std::nextafter(amount, k > 0 ? kInf : -kInf);
            break;
        default:  // a computed value: a balance grown by a monthly rate
            amount = double(cents(random) / 1000) / 100 * std::pow(1 + 0.0425 / 12, double(i % 241));
            break;
        }
        const std::optional<qint64> exact = RoundToCents(RoundSignificant15(amount));
        if (CentsAsShown(amount) != exact)
            QFAIL(qPrintable(QStringLiteral("%1").arg(amount, 0, 'g', 17)));
    }
}

QTEST_GUILESS_MAIN(TestTextValues)
#include "test_text_values.moc"
