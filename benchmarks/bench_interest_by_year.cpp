// Term Deposit > Interest by Year on a million deposits, driven through the
// main window as a user drives it (offscreen).
//
// The parent writes the file of a million deposits and starts this program
// again twice, once for each order of the two things timed; each child
// opens the file through File > Open (not timed), marks the register changed
// (one Interest text set, so that the save has something to save), and then
// does both, each the first of its kind in that process:
// - the command: Term Deposit > Interest by Year from the trigger until the
//   rows are built, that is until the count's progress ends (the one pass
//   over the register that counts every year of every deposit, active and
//   all, on whatever threads it uses), and on until the window has drawn its
//   table and chart;
// - the baseline save: File > Save through the main window over the file
//   it opened: the check that asks before shortening a text, the records
//   written to a new file beside it, synced and renamed into place. As in
//   bench_csv_export.cpp, the page cache for the write comes from memory just
//   freed.
//
//   interest_by_year_1m_ratio_vs_save: the time on the clock until the rows
//     are built against the time on the clock of the save (its sync
//     included: the user waits for both), both orders summed. The processor
//     time of the whole process (every thread) for the same two is printed
//     beside it.
//   interest_by_year_1m_ratio_vs_fresh_read: the processor time of the whole
//     process from the trigger until the window has drawn its table and
//     chart, against the fresh read of the same file: the whole file with one
//     plain QFile::read into newly allocated memory (bench::freshRead), taken
//     in the child before the register opens.
#include "app/windows/frm_interest_by_year.h"
#include "bench_support.h"
#include "bench_window_seams.h"
#include "support/test_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QTableView>
#include <QTemporaryDir>

using namespace td;
using bench::Clocks;

namespace {

constexpr int kDeposits = 1'000'000;
const QString kRowsFirst = QStringLiteral("rows-first");
const QString kSaveFirst = QStringLiteral("save-first");

// The offscreen platform's notes on what it cannot do say nothing here.
void quietWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

struct Timing {
    Clocks rows;   // until the rows are built
    Clocks shown;  // until the window has drawn them
    Clocks save;
    double freshRead = 0;
};

// One fresh process; prints the figures of Timing, in seconds, on one line.
int timeOneOrder(const QString& depositPath, const QString& order)
{
    // Calendar years, no tax: the user's own settings play no part.
    test::startWithNoSettingsFile();
    bench::WindowWorld world(depositPath);
    Timing timing;
    timing.freshRead = bench::freshRead(depositPath);
    world.open();
    if (world.window.Grid().depositCount() != kDeposits)
        qFatal("open gave %d deposits", world.window.Grid().depositCount());
    world.window.Grid().setCell(1, Interest, QStringLiteral("5.5"));  // something to save
    world.window.flags().ModifiedFlag = true;
    QCoreApplication::processEvents();
    const QDir folder = QFileInfo(depositPath).dir();
    bench::plainWrite(folder.filePath(order + ".freed"), 2 * qsizetype(kDeposits) * 100);
    QFile::remove(folder.filePath(order + ".freed"));

    const auto interestByYear = [&] {
        const Clocks start = Clocks::now();
        world.window.actions().interestByYear->trigger();
        timing.rows = world.progress.lastEnd - start;
        QCoreApplication::processEvents();
        world.window.interestByYearWindow()->repaint();
        timing.shown = Clocks::now() - start;
        const frmInterestByYear* years = world.window.interestByYearWindow();
        if (!years || years->GridInterestByYear()->model()->rowCount() == 0 || timing.rows.wall <= 0)
            qFatal("the interest by year window did not open");
        // Closed, so that nothing it follows counts again during the save.
        world.window.interestByYearWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    };
    const auto save = [&] {
        const Clocks start = Clocks::now();
        world.window.actions().fileSave->trigger();
        timing.save = Clocks::now() - start;
        if (world.window.flags().ModifiedFlag)
            qFatal("the save did not finish");
    };
    if (order == kRowsFirst) {
        interestByYear();
        save();
    } else {
        save();
        interestByYear();
    }
    std::printf("%.9f %.9f %.9f %.9f %.9f %.9f %.9f\n", timing.rows.wall, timing.rows.processor,
                timing.shown.wall, timing.shown.processor, timing.save.wall, timing.save.processor,
                timing.freshRead);
    return 0;
}

Timing runFresh(const QString& depositPath, const QString& order)
{
    const QList<double> n = bench::numbersOfFreshProcess({depositPath, order}, 7);
    return {{n[0], n[1]}, {n[2], n[3]}, {n[4], n[5]}, n[6]};
}

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    applyApplicationLook(app);
    const QStringList args = app.arguments();
    if (args.size() == 3) {
        qInstallMessageHandler(quietWarnings);
        return timeOneOrder(args[1], args[2]);
    }

    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-interest-XXXXXX"));
    const QString depositPath = dir.filePath(QStringLiteral("million.tmd"));
    bench::writeRealisticFile(depositPath, kDeposits);
    ::sync();

    const Timing a = runFresh(depositPath, kRowsFirst);
    const Timing b = runFresh(depositPath, kSaveFirst);
    bench::report("interest_by_year_1m_ratio_vs_fresh_read",
                  (a.shown.processor + b.shown.processor) / (a.freshRead + b.freshRead));
    bench::report("interest_by_year_1m_ratio_vs_save",
                  (a.rows.wall + b.rows.wall) / (a.save.wall + b.save.wall));
    std::printf("# processor time, every thread: rows over save %.3f\n",
                (a.rows.processor + b.rows.processor) / (a.save.processor + b.save.processor));
    for (const auto& [name, t] : {std::pair{"rows first", a}, std::pair{"save first", b}})
        std::printf("# %s: rows %.1f ms on the clock (%.1f ms processor), window drawn %.1f ms (%.1f ms); "
                    "save %.1f ms (%.1f ms); fresh read %.1f ms\n",
                    name, t.rows.wall * 1e3, t.rows.processor * 1e3, t.shown.wall * 1e3,
                    t.shown.processor * 1e3, t.save.wall * 1e3, t.save.processor * 1e3, t.freshRead * 1e3);
    return 0;
}
