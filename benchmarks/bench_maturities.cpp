// What the maturities window and the CSV export cost on a million deposits,
// against saving the same register as a deposit file (the baseline: the
// writer's one pass over the register's records into a temporary file, synced and
// moved into place). The window rebuilds its rows on every register change,
// so its build-and-sort time is what a commit costs while it is open.
#include "bench_support.h"
#include "commands/csv_export.h"
#include "commands/maturities.h"
#include "core/register.h"
#include "storage/deposit_file_writer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

using namespace td;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    constexpr int kDeposits = 1'000'000;
    Register reg;
    for (int c = 0; c < ColumnCount; ++c)
        reg.setCell(0, c, headerText(c));
    for (int i = 0; i < kDeposits; ++i)
        reg.appendDeposit(bench::realisticDeposit(i));
    QTemporaryDir dir;
    QElapsedTimer timer;

    timer.start();
    DepositFileWriter writer;
    if (!writer.writeFile(dir.filePath("register.tmd"), reg))
        return 1;
    const double save = double(timer.nsecsElapsed());

    const long long residentBefore = bench::residentBytes();
    timer.restart();
    std::vector<maturities::Row> rows = maturities::build(reg, QDate(2024, 1, 31), DateForm());
    const maturities::Summary summary = maturities::summarise(rows);
    const double build = double(timer.nsecsElapsed());
    const long long rowBytes = bench::residentBytes() - residentBefore;
    timer.restart();
    maturities::sort(rows, maturities::BalanceColumn, true);
    const double sort = double(timer.nsecsElapsed());
    if (summary.all.deposits != kDeposits)
        return 1;

    timer.restart();
    csv::FileExporter exporter;
    if (!exporter.writeRegister(dir.filePath("register.csv"), reg, csv::Form::PlainNumbers, DateForm()))
        return 1;
    const double exportCsv = double(timer.nsecsElapsed());

    bench::report("maturities_build_1m_ms", build / 1e6);
    bench::report("maturities_build_ratio_vs_save", build / save);
    // The window's rows beside the register's own 100-odd bytes a deposit.
    bench::report("maturities_rows_bytes_per_deposit", double(rowBytes) / kDeposits);
    bench::report("maturities_sort_by_amount_ratio_vs_save", sort / save);
    bench::report("csv_export_plain_ratio_vs_save", exportCsv / save);
    return 0;
}
