#pragma once

#include "commands/csv_export.h"
#include "core/date_form.h"
#include "core/deposit_record.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace td {

class Register;

// What the deposits earn, pay out and hold year by year, every figure by the
// future-value rule (finance/elapsed_value.h) and in whole cents, so that a
// deposit's years add up to its whole interest to the cent. A year is a
// calendar year, or a tax year that starts on the first day of a month; a
// year is numbered by the calendar year it starts in.
namespace interest_by_year {

int yearOf(QDate date, int startMonth);
QDate lastDayOf(int year, int startMonth);
// "2025" for a calendar year, "2025–26" for a tax year ("1999–2000" across a century).
QString yearName(int year, int startMonth);

// What one deposit adds to one year.
struct DepositYear {
    int year = 0;
    qint64 interest = 0;   // earned in the year
    qint64 maturing = 0;   // its future value, in the year its term date falls in
    qint64 heldAtEnd = 0;  // its value at the year's last day, when it matures after that day
};

// The years of one deposit, from the year it starts in to the year its term
// date falls in, into `years` (which is reused). False when a value does not
// read, or its term date is not where its start and term put it.
bool yearsOf(const DepositRecord& deposit, const DateForm& form, int startMonth,
             std::vector<DepositYear>& years);

// The sums of the deposits' figures a year.
struct YearFigures {
    int year = 0;
    qint64 interest = 0;
    qint64 maturing = 0;
    qint64 heldAtEnd = 0;
};

struct YearTable {
    std::vector<YearFigures> years;  // consecutive, the earliest first
    int deposits = 0;                // deposits looked at
    int leftOut = 0;                 // of which left out: their values do not read
    bool tooLarge = false;           // a sum beyond what cents in 64 bits hold: no years
};

// Both tables come from one pass over the register.
struct Tables {
    YearTable active;
    YearTable all;
};

using ProgressStep = std::function<bool(qint64 done, qint64 total)>;

// The years of every deposit of the register. False, and `tables`
// untouched, when `step` says to stop.
bool countRegister(const Register& reg, const DateForm& form, int startMonth, Tables& tables,
                   const ProgressStep& step = {});

// The columns a table shows: the tax columns only with a share of tax set.
enum class Column { Year, Interest, Tax, NetInterest, Maturing, HeldAtEnd };
QList<Column> columns(int taxShareHundredthsOfPercent);
QString headerText(Column column, int startMonth);
csv::Kind columnKind(Column column);
qint64 centsOf(const YearFigures& figures, Column column, int taxShareHundredthsOfPercent);
QString text(const YearFigures& figures, Column column, int startMonth, int taxShareHundredthsOfPercent);

// The rows as the window shows them, the header row first.
QList<QStringList> shownTable(const YearTable& table, int startMonth, int taxShareHundredthsOfPercent);

// A sentence under the table: how many deposits, and which were left out.
QString countText(const YearTable& table, bool includeInactive);

}  // namespace interest_by_year
}  // namespace td
