#include "finance/amortisation.h"
#include "support/data_rows.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTest>

using namespace td;
using td::test::dataRow;

namespace {

using Rows = std::vector<AmortisationRow>;

AmortisationRow row(const QStringList& texts)
{
    AmortisationRow r;
    for (int c = 0; c < ScheduleColumnCount; ++c)
        r[c] = texts.value(c);
    return r;
}

Rows compute(const QString& interest, const QString& start, const QString& term, const QString& balance)
{
    const auto rows = ComputeAmortisation(interest, start, term, balance, DateForm());
    if (!rows)
        return {};
    return *rows;
}

bool isMoneyText(const QString& text)
{
    static const QRegularExpression money(QStringLiteral("^\\$\\d{1,3}(,\\d{3})*\\.\\d\\d$"));
    return money.match(text).hasMatch();
}

}  // namespace

class TestAmortisation : public QObject {
    Q_OBJECT

private slots:
    // Three years at 5 percent: each year grows from the cents shown the year
    // before, so the third quarterly value is $11,607.54 and not the $11,607.55
    // that 10000 x factor cubed would give.
    void workedExample()
    {
        const Rows rows = compute("5", "15/03/2024", "15/03/2027", "$10,000.00");
        const Rows expected = {
            row({"2025", "$10,500.00", "$10,509.45", "$10,511.62", "$10,512.46", "$10,512.67"}),
            row({"2026", "$11,025.00", "$11,044.86", "$11,049.41", "$11,051.18", "$11,051.63"}),
            row({"2027", "$11,576.25", "$11,607.54", "$11,614.72", "$11,617.51", "$11,618.22"}),
        };
        QCOMPARE(rows.size(), expected.size());
        for (size_t k = 0; k < rows.size(); ++k)
            for (int c = 0; c < ScheduleColumnCount; ++c)
                QCOMPARE(rows[k][c], expected[k][c]);
    }

    // The row count and labels follow the two years alone.
    void yearLabels_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("term");
        QTest::addColumn<QStringList>("labels");
        dataRow("one year", "31/12/2024", "01/01/2025", QStringList{"2025"});
        dataRow("same year", "01/01/2024", "31/12/2024", QStringList{"2025"});
        dataRow("earlier year", "01/06/2030", "01/06/2024", QStringList{"2031"});
        dataRow("two years", "29/02/2024", "28/02/2026", QStringList{"2025", "2026"});
        dataRow("first year", "01/01/0001", "01/01/0003", QStringList{"2", "3"});
    }

    void yearLabels()
    {
        QFETCH(QString, start);
        QFETCH(QString, term);
        QFETCH(QStringList, labels);
        const Rows rows = compute("5", start, term, "$100.00");
        QStringList got;
        for (const AmortisationRow& r : rows)
            got << r[ScheduleYear];
        QCOMPARE(got, labels);
    }

    // The largest deposit the details dialog admits: 99 years of $999,999,999
    // at 99.9999 percent. Every cell stays a money text; the last values were
    // worked out separately (in decimal, from the same per-year rounding).
    void ninetyNineYearsAtTheLargestInputs()
    {
        const Rows rows = compute("99.9999", "01/07/2024", "01/07/2123", "$999,999,999.00");
        QCOMPARE(rows.size(), size_t(99));
        for (int k = 0; k < 99; ++k) {
            QCOMPARE(rows[k][ScheduleYear], QString::number(2024 + k + 1));
            for (int c = ScheduleAnnually; c < ScheduleColumnCount; ++c)
                QVERIFY2(isMoneyText(rows[k][c]), qPrintable(rows[k][c]));
        }
        QCOMPARE(rows.front()[ScheduleAnnually], QStringLiteral("$1,999,998,998.00"));
        QCOMPARE(rows.back()[ScheduleAnnually],
                 QStringLiteral("$633,793,925,896,007,000,000,000,000,000,000,000,000.00"));
        QCOMPARE(rows.back()[ScheduleDaily],
                 QStringLiteral("$8,636,160,683,997,290,000,000,000,000,000,000,000,000,000,000,000,000.00"));
    }

    void firstYear_data()
    {
        QTest::addColumn<QString>("interest");
        QTest::addColumn<QString>("balance");
        QTest::addColumn<QStringList>("expected");  // Annually to Dayly
        dataRow("one dollar", "5", "$1.00", QStringList{"$1.05", "$1.05", "$1.05", "$1.05", "$1.05"});
        dataRow(
            "two comma groups", "5", "$1,000,000.00",
            QStringList{"$1,050,000.00", "$1,050,945.34", "$1,051,161.90", "$1,051,245.84", "$1,051,267.50"});
        dataRow("three comma groups", "5", "$999,999,999.00",
                QStringList{"$1,049,999,998.95", "$1,050,945,335.86", "$1,051,161,896.83",
                            "$1,051,245,840.88", "$1,051,267,495.42"});
        dataRow("balance read as typed", "4.25", "1000",
                QStringList{"$1,042.50", "$1,043.18", "$1,043.34", "$1,043.40", "$1,043.41"});
    }

    void firstYear()
    {
        QFETCH(QString, interest);
        QFETCH(QString, balance);
        QFETCH(QStringList, expected);
        const Rows rows = compute(interest, "01/01/2024", "01/01/2025", balance);
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(QStringList(rows[0].texts.begin() + 1, rows[0].texts.end()), expected);
    }

    // Cases where a factor computed in another order (r / (100 n), or the power
    // by repeated multiplication) lands a cent away; found and checked with an
    // independent decimal model.
    void factorOrderDecidesTheCents_data()
    {
        QTest::addColumn<QString>("interest");
        QTest::addColumn<QString>("balance");
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("expected");
        dataRow("division by 100, then by 52", "74.9", "$749,255,235.93", int(ScheduleWeekly),
                QStringList{"$1,576,144,098.59", "$3,315,599,411.77", "$6,974,742,645.16"});
        dataRow("power function, not repeated products", "38.7", "$981,674,346.63", int(ScheduleDaily),
                QStringList{"$1,445,274,593.60"});
    }

    void factorOrderDecidesTheCents()
    {
        QFETCH(QString, interest);
        QFETCH(QString, balance);
        QFETCH(int, column);
        QFETCH(QStringList, expected);
        const QString term = QStringLiteral("01/01/%1").arg(2024 + expected.size());
        QStringList got;
        for (const AmortisationRow& r : compute(interest, "01/01/2024", term, balance))
            got << r[column];
        QCOMPARE(got, expected);
    }

    void unreadableInputsGiveNoSchedule_data()
    {
        QTest::addColumn<QString>("interest");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("term");
        QTest::addColumn<QString>("balance");
        dataRow("interest blank", "", "01/01/2024", "01/01/2025", "$1.00");
        dataRow("interest two points", "5.2.1", "01/01/2024", "01/01/2025", "$1.00");
        dataRow("balance too large", "5", "01/01/2024", "01/01/2025", "1e400");
        dataRow("start not a date", "5", "2024-01-01", "01/01/2025", "$1.00");
        dataRow("term impossible day", "5", "01/01/2024", "30/02/2025", "$1.00");
    }

    void unreadableInputsGiveNoSchedule()
    {
        QFETCH(QString, interest);
        QFETCH(QString, start);
        QFETCH(QString, term);
        QFETCH(QString, balance);
        QVERIFY(!ComputeAmortisation(interest, start, term, balance, DateForm()));
    }

    void datesAreReadInTheProgramsForm()
    {
        const DateForm us = DateForm::fromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        const auto rows = ComputeAmortisation(u"5", u"12/31/2024", u"01/15/2026", u"$1.00", us);
        QVERIFY(rows);
        QCOMPARE(rows->size(), size_t(2));
        QCOMPARE(rows->back()[ScheduleYear], QStringLiteral("2026"));
        QVERIFY(!ComputeAmortisation(u"5", u"31/12/2024", u"15/01/2026", u"$1.00", us));
    }

    // Inputs far beyond the dialog's bounds overflow a double; the schedule is
    // still built, with texts that say so, and nothing crashes.
    void overflowingValuesStillGiveRows_data()
    {
        QTest::addColumn<QString>("interest");
        QTest::addColumn<QString>("balance");
        QTest::addColumn<int>("years");
        QTest::addColumn<QString>("lastAnnually");
        QTest::addColumn<QString>("lastDaily");
        dataRow("nothing times infinity", "1e300", "0", 6, "$0.00", "NaN");
        dataRow("overflow after years", "1e20", "$1.00", 20, "$Infinity", "$Infinity");
    }

    void overflowingValuesStillGiveRows()
    {
        QFETCH(QString, interest);
        QFETCH(QString, balance);
        QFETCH(int, years);
        QFETCH(QString, lastAnnually);
        QFETCH(QString, lastDaily);
        const Rows rows =
            compute(interest, "01/01/2024", QStringLiteral("01/01/%1").arg(2024 + years), balance);
        QCOMPARE(rows.size(), size_t(years));
        QCOMPARE(rows.back()[ScheduleYear], QString::number(2024 + years));
        QCOMPARE(rows.back()[ScheduleAnnually], lastAnnually);
        QCOMPARE(rows.back()[ScheduleDaily], lastDaily);
    }
};

QTEST_GUILESS_MAIN(TestAmortisation)
#include "test_amortisation.moc"
