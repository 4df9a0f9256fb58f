#pragma once

#include "core/deposit_record.h"

#include <QString>

// Shared by the benchmarks and the tests that check a quick reading against
// the texts of the deposits the benchmarks measure.
namespace td::bench {

// A deposit with realistic texts, different for every n.
inline DepositRecord realisticDeposit(int n)
{
    const bool saves = n % 3 == 0;
    const int day = 1 + n % 28, month = 1 + n % 12, year = 1990 + n % 30;
    const int years = 1 + n % 10;
    DepositRecord d;
    d.texts = {
        QStringLiteral("AC%1-%2").arg(100000 + n % 900000).arg(n % 97, 2, 10, QLatin1Char('0')),
        saves ? QStringLiteral("$%1.00").arg(50 + n % 400) : QStringLiteral("0"),
        QStringLiteral("%1.%2").arg(2 + n % 8).arg(n % 100, 2, 10, QLatin1Char('0')),
        QString::number(years),
        QString::number(n % 12),
        QStringLiteral("%1/%2/%3")
            .arg(day, 2, 10, QLatin1Char('0'))
            .arg(month, 2, 10, QLatin1Char('0'))
            .arg(year),
        QStringLiteral("%1/%2/%3")
            .arg(day, 2, 10, QLatin1Char('0'))
            .arg(month, 2, 10, QLatin1Char('0'))
            .arg(year + years),
        QStringLiteral("$%1,%2.00").arg(1 + n % 250).arg(n % 1000, 3, 10, QLatin1Char('0')),
        QStringLiteral("$%1,%2.%3")
            .arg(2 + n % 400)
            .arg(n % 1000, 3, 10, QLatin1Char('0'))
            .arg(n % 100, 2, 10, QLatin1Char('0')),
        n % 4 == 0 ? QStringLiteral("No") : QStringLiteral("Yes"),
    };
    return d;
}

}  // namespace td::bench
