#pragma once

#include "core/date_form.h"

#include <QDate>
#include <QString>
#include <QStringView>

namespace td {

// The term date and future value that the details dialog shows while the user
// types: start date and box texts in, display texts out.

// The start date plus the whole years of yearsText, then plus the whole months
// of monthsText, each step with its own end-of-month correction and each
// result passing through its date text. Empty when there is no such date
// (after 31 December 9999, before year 1, or an invalid start date).
QString termDateText(QDate start, QStringView yearsText, QStringView monthsText, const DateForm& form);

// The future value with monthly compounding at interest / 100 / 12 over
// years * 12 + months periods, the balance paid in at the start and the
// saving at the end of each period. Not rounded.
double futureValue(double balance, double saving, double interestPercent, double years, double months);

// The money text of the future value computed from the box texts: the rate,
// years and months as their leading numbers, the two amounts rounded to cents
// first ("$10,000.555" counts as 10000.56). Rounded to 15 significant digits
// before it is written. Empty when the result is not a finite number, which
// only pasted or loaded inputs far beyond the key rules can produce.
QString futureValueText(QStringView balanceText, QStringView savingText, QStringView interestText,
                        QStringView yearsText, QStringView monthsText);

}  // namespace td
