#include "amortisation.h"

#include "core/text_values.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace td {

namespace {

constexpr std::array<const char*, ScheduleColumnCount> kHeaders{
    QT_TRANSLATE_NOOP("td::Amortisation", "Year"),     QT_TRANSLATE_NOOP("td::Amortisation", "Annually"),
    QT_TRANSLATE_NOOP("td::Amortisation", "Quaterly"), QT_TRANSLATE_NOOP("td::Amortisation", "Monthly"),
    QT_TRANSLATE_NOOP("td::Amortisation", "Weekly"),   QT_TRANSLATE_NOOP("td::Amortisation", "Dayly"),
};

constexpr std::array<int, ScheduleColumnCount> kPeriodsPerYear{0, 1, 4, 12, 52, 365};

// The growth of one year at n periods. The order of the operations is part of
// the result: it decides the last bit of the factor and so, over many years,
// the cents shown.
double growthFactor(double ratePercent, int periods)
{
    double factor = ratePercent / 100;
    if (periods > 1)
        factor /= periods;
    factor += 1;
    if (periods > 1)
        factor = std::pow(factor, periods);
    return factor;
}

}  // namespace

QString amortisationHeaderText(int column)
{
    return QCoreApplication::translate("td::Amortisation", kHeaders.at(column));
}

std::optional<std::vector<AmortisationRow>> ComputeAmortisation(QStringView interest, QStringView startDate,
                                                                QStringView termDate,
                                                                QStringView accountBalance,
                                                                const DateForm& form)
{
    const std::optional<double> rate = ParseNumber(interest);
    const std::optional<int> startYear = YearOf(startDate, form);
    const std::optional<int> termYear = YearOf(termDate, form);
    const std::optional<double> balance = ParseNumber(accountBalance);
    if (!rate || !startYear || !termYear || !balance)
        return std::nullopt;

    // A term ending in the start year or before it still shows one year of growth.
    const int years = std::max(*termYear - *startYear, 1);

    std::array<double, ScheduleColumnCount> factor{};
    std::array<double, ScheduleColumnCount> value{};
    for (int j = ScheduleAnnually; j < ScheduleColumnCount; ++j) {
        factor[j] = growthFactor(*rate, kPeriodsPerYear[j]);
        value[j] = *balance;
    }

    std::vector<AmortisationRow> rows(years);
    for (int k = 0; k < years; ++k) {
        AmortisationRow& row = rows[k];
        row[ScheduleYear] = QString::number(*startYear + k + 1);
        for (int j = ScheduleAnnually; j < ScheduleColumnCount; ++j) {
            row[j] = FormatMoney(value[j] * factor[j]);
            // The next year grows from the amount as shown. A text that does not
            // read back ("$Infinity" after an overflow) carries the raw value on.
            value[j] = ParseNumber(row[j]).value_or(value[j] * factor[j]);
        }
    }
    return rows;
}

}  // namespace td
