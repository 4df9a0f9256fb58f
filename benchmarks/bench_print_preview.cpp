// File > Print, Print All, Preview on a million deposits (three in four
// active), through the real main window and print options dialog as a user
// runs them (offscreen): the time from the click on Preview until the first
// page is painted in the preview, and the memory the preview takes beyond
// the register's.
// - The time is processor time of the measuring thread, from the click until
//   the preview's page widget has been painted once (grabbed) in the preview's
//   own event loop.
// - The baseline is the fresh read: the deposit file with one plain
//   QFile::read into one newly allocated buffer of its size (bench_support.h),
//   which pays a page fault for every 4 KiB page of fresh memory.
// - The memory is the peak resident size while previewing less the resident
//   size once the window had opened the file: what the preview adds.
// Each run is a fresh process (this program started again with the file as
// its argument): it opens the file in the window (not timed), reads it fresh
// once, then previews once; both are the first of their kind there. The
// figures are the median ratio and the highest peak of three runs.
#include "bench_support.h"
#include "bench_window_seams.h"

#include "app/windows/frm_print.h"

#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <ctime>

using namespace td;

namespace {

constexpr int kDeposits = 1'000'000;
constexpr int kRuns = 3;

double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// One fresh process: prints "preview fresh-read peak-bytes-over-register pages".
int previewOnce(const QString& depositPath)
{
    bench::WindowWorld world;
    world.open(depositPath);
    const double fresh = bench::freshRead(depositPath);
    const long long registerResident = bench::residentBytes();
    bench::resetPeak();

    double started = 0, painted = -1;
    int pagesShown = 0;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* preview = QApplication::activeModalWidget();
        if (!preview || preview->objectName() != QLatin1String("PrintPreview") || !preview->isVisible())
            return;
        auto* pages = preview->findChild<QPrintPreviewWidget*>();
        if (!pages)
            qFatal("the preview has no pages");
        pages->grab();
        painted = threadSeconds();
        pagesShown = pages->pageCount();
        if (auto* extent = preview->findChild<QLabel*>(QStringLiteral("PreviewExtent")))
            std::fprintf(stderr, "# the preview says: %s\n", qPrintable(extent->text()));
        watch.stop();
        preview->close();
    });
    world.modal.handlers.push_back([&](QDialog& dialog) {
        auto& options = static_cast<frmPrint&>(dialog);
        options.optPrint(1)->click();  // Print All, the active deposits
        watch.start();
        started = threadSeconds();
        options.previewButton()->click();
        options.cancelButton()->click();
    });
    world.window.Grid().setCurrentCell(1, AccountNumber);
    world.window.actions().filePrint->trigger();
    if (painted < 0)
        qFatal("the preview painted no page");
    std::printf("%.9f %.9f %lld %d\n", painted - started, fresh,
                bench::peakResidentBytes() - registerResident, pagesShown);
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    applyApplicationLook(app);
    const QStringList args = app.arguments();
    if (args.size() == 2)
        return previewOnce(args[1]);

    // TD_BENCH_DEPOSITS and TD_BENCH_RUNS preview a register of another size,
    // or fewer times, for a look at how it grows.
    const int deposits = qEnvironmentVariableIsSet("TD_BENCH_DEPOSITS")
                             ? qEnvironmentVariableIntValue("TD_BENCH_DEPOSITS")
                             : kDeposits;
    const int runs =
        qEnvironmentVariableIsSet("TD_BENCH_RUNS") ? qEnvironmentVariableIntValue("TD_BENCH_RUNS") : kRuns;
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-preview-XXXXXX"));
    const QString depositPath = dir.filePath(QStringLiteral("million.tmd"));
    bench::writeRealisticFile(depositPath, deposits);

    QList<double> ratios;
    long long peak = 0;
    for (int run = 0; run < runs; ++run) {
        const QList<double> f = bench::numbersOfFreshProcess({depositPath}, 4);
        ratios << f[0] / f[1];
        peak = std::max(peak, qint64(f[2]));
        std::printf("# run %d: first page %.1f ms, fresh read %.1f ms, %.1f MB over the register, %s pages "
                    "shown\n",
                    run + 1, f[0] * 1e3, f[1] * 1e3, f[2] / 1e6, QByteArray::number(f[3]).constData());
    }
    std::sort(ratios.begin(), ratios.end());
    bench::report("print_preview_1m_first_page_ratio_vs_fresh_read", ratios.at(runs / 2));
    bench::report("print_preview_1m_peak_mb_over_register", double(peak) / 1e6);
    return 0;
}
