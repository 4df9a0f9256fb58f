#pragma once

#include "core/deposit_record.h"

#include <QFile>
#include <QString>
#include <cstdio>
#include <unistd.h>

namespace td::bench {

// Resident memory of this process in bytes.
inline long long residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

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
        QStringLiteral("%1/%2/%3").arg(day, 2, 10, QLatin1Char('0')).arg(month, 2, 10, QLatin1Char('0')).arg(year),
        QStringLiteral("%1/%2/%3").arg(day, 2, 10, QLatin1Char('0')).arg(month, 2, 10, QLatin1Char('0')).arg(year + years),
        QStringLiteral("$%1,%2.00").arg(1 + n % 250).arg(n % 1000, 3, 10, QLatin1Char('0')),
        QStringLiteral("$%1,%2.%3").arg(2 + n % 400).arg(n % 1000, 3, 10, QLatin1Char('0')).arg(n % 100, 2, 10, QLatin1Char('0')),
        n % 4 == 0 ? QStringLiteral("No") : QStringLiteral("Yes"),
    };
    return d;
}

inline void report(const char* name, double value)
{
    std::printf("%s: %.3f\n", name, value);
    std::fflush(stdout);
}

}  // namespace td::bench
