#include "commands/interest_by_year.h"

#include "commands/record_terms.h"
#include "core/deposit_file_format.h"
#include "core/register.h"
#include "core/text_values.h"
#include "finance/elapsed_value.h"

#include <QCoreApplication>
#include <algorithm>
#include <limits>

namespace td::interest_by_year {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("InterestByYear", text); }

// Dates have four-digit years; a tax year that starts in the year before
// the first one is year 0.
constexpr int kYears = 10000;

// The sums of one table while the register is read, a slot a year.
class Sums {
public:
    void addDeposit(bool readable, const std::vector<DepositYear>& years)
    {
        ++m_deposits;
        if (!readable) {
            ++m_leftOut;
            return;
        }
        for (const DepositYear& y : years) {
            if (y.year < 0 || y.year >= kYears)
                continue;  // never: yearsOf keeps to the years of four-digit dates
            Slot& slot = m_slots[std::size_t(y.year)];
            m_tooLarge |= __builtin_add_overflow(slot.interest, y.interest, &slot.interest);
            m_tooLarge |= __builtin_add_overflow(slot.maturing, y.maturing, &slot.maturing);
            m_tooLarge |= __builtin_add_overflow(slot.heldAtEnd, y.heldAtEnd, &slot.heldAtEnd);
        }
        if (!years.empty()) {
            m_first = std::min(m_first, years.front().year);
            m_last = std::max(m_last, years.back().year);
        }
    }

    YearTable table() const
    {
        YearTable table;
        table.deposits = m_deposits;
        table.leftOut = m_leftOut;
        table.tooLarge = m_tooLarge;
        if (m_tooLarge)
            return table;
        for (int year = std::max(m_first, 0); year <= std::min(m_last, kYears - 1); ++year) {
            const Slot& slot = m_slots[std::size_t(year)];
            table.years.push_back({year, slot.interest, slot.maturing, slot.heldAtEnd});
        }
        return table;
    }

private:
    struct Slot {
        qint64 interest = 0;
        qint64 maturing = 0;
        qint64 heldAtEnd = 0;
    };
    std::vector<Slot> m_slots = std::vector<Slot>(kYears);
    int m_first = std::numeric_limits<int>::max();
    int m_last = std::numeric_limits<int>::min();
    int m_deposits = 0;
    int m_leftOut = 0;
    bool m_tooLarge = false;
};

}  // namespace

int yearOf(QDate date, int startMonth)
{
    int year = 0;
    int month = 0;
    date.getDate(&year, &month, nullptr);  // one conversion for both
    return month >= startMonth ? year : year - 1;
}

QDate lastDayOf(int year, int startMonth) { return QDate(year + 1, startMonth, 1).addDays(-1); }

QString yearName(int year, int startMonth)
{
    const QString first = QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0'));
    if (startMonth == 1)
        return first;
    // The year it ends in by its last two digits, whole where the century changes.
    const int end = year + 1;
    const QString last = end / 100 == year / 100
                             ? QStringLiteral("%1").arg(end % 100, 2, 10, QLatin1Char('0'))
                             : QString::number(end);
    return first + QChar(0x2013) + last;
}

namespace {

bool yearsFrom(const std::optional<DepositTerms>& terms, const std::optional<QDate>& termDate, int startMonth,
               std::vector<DepositYear>& years)
{
    years.clear();
    if (!terms || !termDate)
        return false;
    int startYear = 0;
    int startMonthOfYear = 0;
    terms->start.getDate(&startYear, &startMonthOfYear, nullptr);
    const int first = yearOf(terms->start, startMonth);
    const int last = yearOf(*termDate, startMonth);
    // The last anniversary falls in the month termMonths after the start's;
    // a term date in another year says the deposit's texts disagree, and
    // none of them is guessed at.
    const qint64 endMonth = qint64(startYear) * 12 + (startMonthOfYear - 1) + terms->termMonths;
    const int endYear = int(endMonth / 12);
    if ((int(endMonth % 12) + 1 >= startMonth ? endYear : endYear - 1) != last || first < 0 || last >= kYears)
        return false;
    // A year holds one anniversary in each of its twelve months: past the
    // first year's end, each year's end has seen twelve more, up to the
    // term, all of which the last year's end has seen.
    const int firstMonths = monthsElapsed(terms->start, terms->termMonths, lastDayOf(first, startMonth));
    int monthsBefore = 0;
    qint64 valueBefore = terms->balanceCents;
    for (int year = first; year <= last; ++year) {
        const int months =
            year == last ? terms->termMonths : std::min(firstMonths + 12 * (year - first), terms->termMonths);
        const std::optional<qint64> value =
            months == monthsBefore ? valueBefore : valueAfterMonthsCents(*terms, months);
        if (!value)
            return false;
        // Each value rounded to the cent before the difference, as interestBetweenCents takes it.
        qint64 paidIn = 0;
        qint64 interest = 0;
        if (__builtin_mul_overflow(terms->savingCents, qint64(months - monthsBefore), &paidIn) ||
            __builtin_sub_overflow(*value - valueBefore, paidIn, &interest))
            return false;
        DepositYear y;
        y.year = year;
        y.interest = interest;
        (year < last ? y.heldAtEnd : y.maturing) = *value;
        years.push_back(y);
        monthsBefore = months;
        valueBefore = *value;
    }
    return true;
}

}  // namespace

bool yearsOf(const DepositRecord& deposit, const DateForm& form, int startMonth,
             std::vector<DepositYear>& years)
{
    return yearsFrom(depositTerms(deposit, form), ParseDate(deposit[TermDate], form), startMonth, years);
}

bool countRegister(const Register& reg, const DateForm& form, int startMonth, Tables& tables,
                   const ProgressStep& step)
{
    constexpr int kRowsAStep = 1 << 14;
    const int count = std::max(0, reg.depositCount());
    Sums active;
    Sums all;
    const RecordTermsReader reader(form);
    char scratch[deposit_file::kRecordSize];
    std::vector<DepositYear> years;
    for (int i = 0; i < count; ++i) {
        if (i % kRowsAStep == 0 && step && !step(i, count))
            return false;
        const int row = i + 1;
        // A row kept as a record is read from its bytes, with no string made.
        const RecordTerms terms = reg.heldAsRecord(row) ? reader.read(reg.fileRecords(row, 1, scratch).data())
                                                        : reader.read(reg.record(row));
        const bool readable = yearsFrom(terms.terms, terms.termDate, startMonth, years);
        all.addDeposit(readable, years);
        if (terms.active)
            active.addDeposit(readable, years);
    }
    if (step && !step(count, count))
        return false;
    tables.active = active.table();
    tables.all = all.table();
    return true;
}

QList<Column> columns(int taxShareHundredthsOfPercent)
{
    if (taxShareHundredthsOfPercent > 0)
        return {Column::Year,        Column::Interest, Column::Tax,
                Column::NetInterest, Column::Maturing, Column::HeldAtEnd};
    return {Column::Year, Column::Interest, Column::Maturing, Column::HeldAtEnd};
}

QString headerText(Column column, int startMonth)
{
    switch (column) {
    case Column::Year:
        return startMonth == 1 ? tr("Year") : tr("Tax Year");
    case Column::Interest:
        return tr("Interest Earned");
    case Column::Tax:
        return tr("Tax");
    case Column::NetInterest:
        return tr("Net Interest");
    case Column::Maturing:
        return tr("Maturing");
    case Column::HeldAtEnd:
        return tr("Held at Year End");
    }
    return {};
}

csv::Kind columnKind(Column column) { return column == Column::Year ? csv::Kind::Text : csv::Kind::Money; }

qint64 centsOf(const YearFigures& figures, Column column, int taxShareHundredthsOfPercent)
{
    switch (column) {
    case Column::Interest:
        return figures.interest;
    case Column::Tax:
        return taxCents(figures.interest, taxShareHundredthsOfPercent);
    case Column::NetInterest:
        return figures.interest - taxCents(figures.interest, taxShareHundredthsOfPercent);
    case Column::Maturing:
        return figures.maturing;
    case Column::HeldAtEnd:
        return figures.heldAtEnd;
    case Column::Year:
        break;
    }
    return 0;
}

QString text(const YearFigures& figures, Column column, int startMonth, int taxShareHundredthsOfPercent)
{
    if (column == Column::Year)
        return yearName(figures.year, startMonth);
    return FormatMoney(double(centsOf(figures, column, taxShareHundredthsOfPercent)) / 100);
}

QList<QStringList> shownTable(const YearTable& table, int startMonth, int taxShareHundredthsOfPercent)
{
    const QList<Column> shown = columns(taxShareHundredthsOfPercent);
    QList<QStringList> rows;
    QStringList header;
    for (const Column c : shown)
        header << headerText(c, startMonth);
    rows << header;
    for (const YearFigures& figures : table.years) {
        QStringList row;
        for (const Column c : shown)
            row << text(figures, c, startMonth, taxShareHundredthsOfPercent);
        rows << row;
    }
    return rows;
}

QString countText(const YearTable& table, bool includeInactive)
{
    QString text = includeInactive ? tr("All deposits: %1.").arg(table.deposits)
                                   : tr("Active deposits: %1.").arg(table.deposits);
    if (table.leftOut == 1)
        text += tr(" 1 deposit left out: its values cannot be read.");
    else if (table.leftOut > 1)
        text += tr(" %1 deposits left out: their values cannot be read.").arg(table.leftOut);
    if (table.tooLarge)
        text += tr(" The sums are too large to show.");
    return text;
}

}  // namespace td::interest_by_year
