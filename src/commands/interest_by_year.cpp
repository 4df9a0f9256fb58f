#include "commands/interest_by_year.h"

#include "commands/record_terms.h"
#include "core/deposit_file_format.h"
#include "core/register.h"
#include "core/text_values.h"
#include "finance/elapsed_value.h"

#include <QCoreApplication>
#include <algorithm>
#include <limits>
#include <system_error>
#include <thread>

namespace td::interest_by_year {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("InterestByYear", text); }

// Dates have four-digit years; a tax year that starts in the year before
// the first one is year 0.
constexpr int kYears = 10000;

using Magnitude = unsigned __int128;

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
            m_magnitude += magnitude(y.interest) + magnitude(y.maturing) + magnitude(y.heldAtEnd);
        }
        if (!years.empty()) {
            m_first = std::min(m_first, years.front().year);
            m_last = std::max(m_last, years.back().year);
        }
    }

    // Up to here no sum of the figures, taken in any order, can overflow.
    static constexpr Magnitude kExact = std::numeric_limits<qint64>::max();
    Magnitude magnitude() const { return m_magnitude; }

    // Adds the sums of other deposits; only while both magnitudes together
    // stay within kExact, so that the sums are those of one pass in any order.
    void add(const Sums& other)
    {
        for (std::size_t i = 0; i < m_slots.size(); ++i) {
            m_slots[i].interest += other.m_slots[i].interest;
            m_slots[i].maturing += other.m_slots[i].maturing;
            m_slots[i].heldAtEnd += other.m_slots[i].heldAtEnd;
        }
        m_first = std::min(m_first, other.m_first);
        m_last = std::max(m_last, other.m_last);
        m_deposits += other.m_deposits;
        m_leftOut += other.m_leftOut;
        m_magnitude += other.m_magnitude;
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
    Magnitude m_magnitude = 0;  // of every figure added

    static Magnitude magnitude(qint64 cents)
    {
        return cents < 0 ? Magnitude(-__int128(cents)) : Magnitude(cents);
    }
};

// What one thread counts: the sums of the deposits it read.
struct Share {
    Sums active;
    Sums all;
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

namespace {

// The deposits of rows first + 1 to end (register rows) into `share`.
void countRows(const Register& reg, const RecordTermsReader& reader, int startMonth, int first, int end,
               Share& share)
{
    char scratch[deposit_file::kRecordSize];
    std::vector<DepositYear> years;
    years.reserve(64);
    for (int i = first; i < end; ++i) {
        const int row = i + 1;
        // A row kept as a record is read from its bytes, with no string made.
        const RecordTerms terms = reg.heldAsRecord(row) ? reader.read(reg.fileRecords(row, 1, scratch).data())
                                                        : reader.read(reg.record(row));
        const bool readable = yearsFrom(terms.terms, terms.termDate, startMonth, years);
        share.all.addDeposit(readable, years);
        if (terms.active)
            share.active.addDeposit(readable, years);
    }
}

// The rows in rounds: in each, every thread counts a block of its own, and
// only between rounds, with no other thread reading the register, does
// `step` show the progress and the events it lets through run.
bool countShares(const Register& reg, const DateForm& form, int startMonth, std::vector<Share>& shares,
                 const ProgressStep& step)
{
    constexpr int kRowsABlock = 1 << 14;
    const int count = std::max(0, reg.depositCount());
    const int threads = int(shares.size());
    const RecordTermsReader reader(form);
    for (qint64 base = 0; base < count; base += qint64(kRowsABlock) * threads) {
        if (step && !step(base, count))
            return false;
        const auto block = [&](int t) {
            const qint64 first = std::min<qint64>(count, base + qint64(t) * kRowsABlock);
            const qint64 end = std::min<qint64>(count, first + kRowsABlock);
            countRows(reg, reader, startMonth, int(first), int(end), shares[std::size_t(t)]);
        };
        std::vector<std::thread> helpers;
        for (int t = 1; t < threads; ++t) {
            try {
                helpers.emplace_back(block, t);
            } catch (const std::system_error&) {
                block(t);  // no thread to be had: counted here
            }
        }
        block(0);
        for (std::thread& helper : helpers)
            helper.join();
    }
    return !step || step(count, count);
}

}  // namespace

bool countRegister(const Register& reg, const DateForm& form, int startMonth, Tables& tables,
                   const ProgressStep& step)
{
    // Whole cents add up the same in any order, so the rows are shared out
    // among the processors, a few blocks each.
    const int count = std::max(0, reg.depositCount());
    const int threads = count < (1 << 16) ? 1 : std::clamp(int(std::thread::hardware_concurrency()), 1, 8);
    std::vector<Share> shares(static_cast<std::size_t>(threads));
    if (!countShares(reg, form, startMonth, shares, step))
        return false;
    Magnitude magnitude = 0;
    for (const Share& share : shares)
        magnitude += share.all.magnitude();
    if (threads > 1 && magnitude > Sums::kExact) {
        // Sums this large overflow or not by the order they are taken in:
        // counted again in the order of the rows, which decides.
        shares = std::vector<Share>(1);
        if (!countShares(reg, form, startMonth, shares, step))
            return false;
    }
    for (std::size_t t = 1; t < shares.size(); ++t) {
        shares[0].active.add(shares[t].active);
        shares[0].all.add(shares[t].all);
    }
    tables.active = shares[0].active.table();
    tables.all = shares[0].all.table();
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
