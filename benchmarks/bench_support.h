#pragma once

#include "core/deposit_file_format.h"
#include "core/deposit_record.h"
#include "support/realistic_deposit.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <ctime>
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

// Writes a deposit file of `count` realistic deposits, record by record,
// without a register, so the process that measures holds none of it.
inline void writeRealisticFile(const QString& path, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray chunk;
    for (int n = 0; n < count; ++n) {
        const DepositRecord d = realisticDeposit(n);
        char record[deposit_file::kRecordSize];
        for (int c = 0; c < ColumnCount; ++c)
            deposit_file::encodeField(d[c], record, c);
        record[deposit_file::kRecordEndOffset] = deposit_file::kRecordEnd;
        chunk.append(record, sizeof record);
        if (chunk.size() >= (1 << 20) || n == count - 1) {
            file.write(chunk);
            chunk.clear();
        }
    }
}

// The processor time this thread spends in f, in seconds: the time the
// work costs, whatever else runs on a shared machine meanwhile. A wait for
// the disk (a save's sync) costs none.
template <typename F>
double seconds(F&& f)
{
    timespec start{};
    timespec end{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    f();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    return double(end.tv_sec - start.tv_sec) + double(end.tv_nsec - start.tv_nsec) / 1e9;
}

// The baseline of a first load: the whole file with one plain QFile::read
// into one newly allocated buffer of its size, which pays a page fault for
// every 4 KiB page of fresh memory.
inline double freshRead(const QString& path)
{
    return seconds([&] {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot open %s", qPrintable(path));
        QByteArray bytes(file.size(), Qt::Uninitialized);
        if (file.read(bytes.data(), bytes.size()) != bytes.size())
            qFatal("short read of %s", qPrintable(path));
    });
}

// `total` bytes written to a new file in 1 MiB blocks and synced: what the
// bytes of a save cost with nothing to work out.
inline void plainWrite(const QString& path, qsizetype total)
{
    const QByteArray block(1 << 20, 'x');
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot open %s", qPrintable(path));
    for (qsizetype done = 0; done < total; done += block.size())
        file.write(block.constData(), std::min(block.size(), total - done));
    file.flush();
    ::fsync(file.handle());
}

// Runs this program again with `arguments`, so that what it measures is a
// first run in a fresh process, and returns what it printed; its errors go
// to this program's. A failed run ends the benchmark.
inline QByteArray runFreshProcess(const QStringList& arguments)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        qFatal("the run %s failed", qPrintable(arguments.join(QLatin1Char(' '))));
    return child.readAllStandardOutput();
}

// The numbers a fresh run printed on one line, separated by spaces;
// `count` of them or the benchmark ends.
inline QList<double> numbersOfFreshProcess(const QStringList& arguments, qsizetype count)
{
    QList<double> numbers;
    for (const QByteArray& field : runFreshProcess(arguments).trimmed().split(' '))
        numbers << field.toDouble();
    if (numbers.size() != count)
        qFatal("the run %s printed no figures", qPrintable(arguments.join(QLatin1Char(' '))));
    return numbers;
}

inline void report(const char* name, double value)
{
    std::printf("%s: %.3f\n", name, value);
    std::fflush(stdout);
}

}  // namespace td::bench
