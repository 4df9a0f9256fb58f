#pragma once

#include "core/date_form.h"

#include <QString>
#include <QStringView>
#include <array>
#include <optional>
#include <vector>

namespace td {

// Columns of the schedule: the year, then the balance under five compounding frequencies.
enum AmortisationColumn : int {
    ScheduleYear = 0,
    ScheduleAnnually,
    ScheduleQuarterly,
    ScheduleMonthly,
    ScheduleWeekly,
    ScheduleDaily,
    ScheduleColumnCount
};

// Header texts of the schedule, in column order, spelt as the program has always shown them.
QString amortisationHeaderText(int column);

// One year of the schedule: the year label and five money texts.
struct AmortisationRow {
    std::array<QString, ScheduleColumnCount> texts;

    QString& operator[](int column) { return texts.at(column); }
    const QString& operator[](int column) const { return texts.at(column); }
    bool operator==(const AmortisationRow&) const = default;
};

// The balance year by year from the start year to the term year (one row at
// least), each year growing from the previous year's value as shown, that is
// rounded to cents. Nothing when the interest or balance is not a number or a
// date text is not a date in the given form.
std::optional<std::vector<AmortisationRow>> ComputeAmortisation(QStringView interest, QStringView startDate,
                                                                QStringView termDate,
                                                                QStringView accountBalance,
                                                                const DateForm& form);

}  // namespace td
