#pragma once

#include "core/date_form.h"
#include "core/deposit_record.h"

#include <QDate>
#include <optional>

namespace td {

// What a deposit is worth part of the way through its term, by the same
// monthly compounding as its future value: after n months it holds
// P(1+r)^n + S((1+r)^n - 1)/r with r = rate / 1200, the balance P paid in at
// the start and the saving S at the end of each month. Every value is in
// whole cents, rounded as the grid rounds the future value, so that the value
// at the end of the term is the future value the grid shows.

struct DepositTerms {
    QDate start;
    qint64 balanceCents = 0;
    qint64 savingCents = 0;  // 0 when the deposit saves nothing each month
    double ratePercent = 0;  // a year
    int termMonths = 0;      // years * 12 + months
};

// The terms of a deposit, read from its texts; nothing when the start date,
// an amount, the rate or a count of the term does not read.
std::optional<DepositTerms> depositTerms(const DepositRecord& deposit, const DateForm& form);
// The same from what ParseDate made of the start date and ParseNumber of the
// other texts, for a reader that has read them already.
std::optional<DepositTerms> depositTerms(std::optional<QDate> start, std::optional<double> balance,
                                         std::optional<double> saving, std::optional<double> rate,
                                         std::optional<double> years, std::optional<double> months);

// Whole monthly anniversaries of `start` passed by `at` (one on `at` itself
// counts), never below 0 nor above termMonths. The k-th anniversary is start
// plus k months, on the month's last day where the month is shorter.
int monthsElapsed(QDate start, int termMonths, QDate at);

// The value after `months` months (0 is the balance), in cents; nothing when
// it is too large to hold in cents.
std::optional<qint64> valueAfterMonthsCents(const DepositTerms& terms, int months);

// The savings paid in over `months` months.
inline qint64 savingsPaidInCents(const DepositTerms& terms, int months) { return terms.savingCents * months; }

// The interest earned between two counts of months elapsed: the value after
// `to` less the value after `from` less the savings paid in between. Summed
// over consecutive spans it gives the whole interest to the cent.
std::optional<qint64> interestBetweenCents(const DepositTerms& terms, int from, int to);

// The tax withheld from an amount of interest at a share given in hundredths
// of a percent (1050 is 10.5%), rounded to the cent, halves away from zero.
qint64 taxCents(qint64 interestCents, int shareHundredthsOfPercent);

}  // namespace td
