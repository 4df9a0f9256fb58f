#include "commands/record_terms.h"
#include "core/deposit_file_format.h"
#include "support/data_rows.h"
#include "support/main_window_world.h"
#include "support/realistic_deposit.h"

#include <QTest>
#include <cstring>

using namespace td;
using td::test::dataRow;

namespace {

// The record a save writes for the deposit, and the texts it reads back as.
struct Written {
    char bytes[deposit_file::kRecordSize];
    DepositRecord texts;
};

Written written(const DepositRecord& deposit)
{
    Written w;
    for (int c = 0; c < ColumnCount; ++c)
        deposit_file::encodeField(deposit[c], w.bytes, c);
    w.bytes[deposit_file::kRecordEndOffset] = deposit_file::kRecordEnd;
    for (int c = 0; c < ColumnCount; ++c)
        w.texts[c] = deposit_file::fieldText(w.bytes, c);
    return w;
}

// The bytes give what the texts give, every double to the bit.
QString difference(const DepositRecord& deposit, const DateForm& form)
{
    const Written w = written(deposit);
    const RecordTerms quick = RecordTermsReader(form).read(w.bytes);
    const std::optional<DepositTerms> terms = depositTerms(w.texts, form);
    const QString which = QStringList(w.texts.texts.begin(), w.texts.texts.end()).join(QLatin1Char('|'));
    if (quick.termDate != ParseDate(w.texts[TermDate], form) ||
        quick.active != (w.texts[Active] == QLatin1String("Yes")) ||
        quick.terms.has_value() != terms.has_value())
        return which;
    if (terms &&
        (quick.terms->start != terms->start || quick.terms->balanceCents != terms->balanceCents ||
         quick.terms->savingCents != terms->savingCents || quick.terms->termMonths != terms->termMonths ||
         std::memcmp(&quick.terms->ratePercent, &terms->ratePercent, sizeof(double)) != 0))
        return which;
    return {};
}

}  // namespace

class TestRecordTerms : public QObject {
    Q_OBJECT

private slots:
    void readsAsTheTextsRead_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        const std::pair<int, const char*> rows[] = {
            {AccountBalance, "$1,234.56"},
            {AccountBalance, "1234."},
            {AccountBalance, ".5"},
            {AccountBalance, "-$12.05"},
            {AccountBalance, "-0"},
            {AccountBalance, "$-5"},
            {AccountBalance, "+5"},
            {AccountBalance, "1,,2.3"},
            {AccountBalance, "1.234"},
            {AccountBalance, "1e3"},
            {AccountBalance, "9999999999999.99"},
            {AccountBalance, "99999999999999"},
            {AccountBalance, "0000000000001.5"},
            {AccountBalance, "1 2"},
            {AccountBalance, "1\t"},
            {AccountBalance, "\xe2\x82\xac"
                             "5"},
            {AccountBalance, ""},
            {SaveEachMonth, "$0.10"},
            {SaveEachMonth, "lots"},
            {Interest, "4.25"},
            {Interest, "0.0001"},
            {Interest, "7.77777"},
            {Interest, ".5"},
            {Interest, "5."},
            {Interest, "."},
            {Interest, "1,5"},
            {Interest, "-1"},
            {Interest, "$5"},
            {Interest, "1e2"},
            {Interest, "1.2.3"},
            {Years, "05"},
            {Years, "1."},
            {Years, "-1"},
            {Years, ""},
            {Months, "1e1"},
            {Months, "99"},
            {StartDate, "29/02/2024"},
            {StartDate, "29/02/2023"},
            {StartDate, "1/7/2024"},
            {StartDate, "01/07/0000"},
            {StartDate, "01-07-2024"},
            {StartDate, "01/13/2024"},
            {TermDate, "31/12/9999"},
            {TermDate, ""},
            {Active, "yes"},
            {Active, "Yes."},
            {Active, "No"},
        };
        for (const auto& [column, text] : rows)
            QTest::addRow("%s: %s", kColumns.at(column).header, text) << column << QString::fromUtf8(text);
    }
    void readsAsTheTextsRead()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        DepositRecord deposit = test::depositOf(
            {"A", "$50.00", "4.5", "2", "3", "31/01/2024", "30/04/2026", "$1,000.00", "$1.00", "Yes"});
        deposit[column] = text;
        QCOMPARE(difference(deposit, DateForm()), QString());
    }

    // What the benchmarks measure, in the day-first form and the month-first one.
    void readsTheRealisticDepositsAsTheirTexts()
    {
        const DateForm monthFirst = DateForm::fromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(monthFirst.pattern(), QStringLiteral("MM/dd/yyyy"));
        for (int n = 0; n < 20000; ++n) {
            const DepositRecord deposit = bench::realisticDeposit(n);
            QCOMPARE(difference(deposit, DateForm()), QString());
            QCOMPARE(difference(deposit, monthFirst), QString());
        }
    }
};

QTEST_GUILESS_MAIN(TestRecordTerms)
#include "test_record_terms.moc"
