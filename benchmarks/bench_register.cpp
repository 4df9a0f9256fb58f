// Memory of a register of typed deposits and the cost of showing it in the grid.
#include "app/widgets/register_grid.h"
#include "bench_support.h"
#include "core/register.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>

using namespace td;

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr int kDeposits = 1'000'000;

    // Texts are built before the first reading, so only the register's own memory counts.
    std::vector<DepositRecord> deposits;
    deposits.reserve(1000);
    for (int i = 0; i < 1000; ++i)
        deposits.push_back(bench::realisticDeposit(i));

    Register reg;
    const long long before = bench::residentBytes();
    for (int i = 0; i < kDeposits; ++i) {
        DepositRecord d = deposits[i % 1000];
        d[AccountNumber] = QStringLiteral("AC%1").arg(i, 8, 10, QLatin1Char('0'));
        reg.appendDeposit(d);
    }
    const long long after = bench::residentBytes();
    bench::report("typed_register_bytes_per_deposit", double(after - before) / kDeposits);

    // Scrolling a grid of a million rows: the time to jump through it against
    // the time to show the first screen.
    RegisterGrid grid(reg);
    grid.resize(573, 285);
    grid.show();
    QElapsedTimer timer;
    timer.start();
    grid.viewport()->repaint();
    const double firstPaint = double(timer.nsecsElapsed());
    timer.restart();
    constexpr int kJumps = 100;
    for (int i = 0; i < kJumps; ++i) {
        grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum() / kJumps * i);
        grid.viewport()->repaint();
    }
    bench::report("grid_scroll_paint_ratio_vs_first_paint",
                  double(timer.nsecsElapsed()) / kJumps / firstPaint);
    return 0;
}
