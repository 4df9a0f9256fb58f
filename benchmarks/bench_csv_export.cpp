// File > Export to CSV of a million deposits against File > Save of the same
// register, both through the real main window as a user runs them (the
// Save dialog answered with a path), in processor time of the measuring
// thread (a wait for the disk costs neither any):
// - the export writes the register as the grid shows it, a header row and a
//   line a deposit, through the same safe replacement as a save (a new file
//   beside the target, synced, renamed over it);
// - the baseline is the save of the register that File > Open read, over its
//   own file: the check that asks before shortening a text, then the
//   records, synced and renamed into place.
// Each order runs once in a fresh process (this program started again with
// the order as its argument), which first opens the file through the window
// (not timed) and then does both, each the first of its kind in that
// process. The figure is both exports over both saves, so each goes first
// once. As in bench_save.cpp, the page cache for both writes comes from
// memory just freed.
#include "bench_support.h"
#include "bench_window_seams.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <unistd.h>

using namespace td;

namespace {

constexpr int kDeposits = 1'000'000;
const QString kExportFirst = QStringLiteral("export-first");
const QString kSaveFirst = QStringLiteral("save-first");

// One fresh process: opens the deposit file in the window, then times the
// export and the save in the given order and prints "export save" in seconds.
int timeOneOrder(const QString& depositPath, const QString& order)
{
    bench::WindowWorld world;
    world.open(depositPath);
    const QDir folder = QFileInfo(depositPath).dir();
    bench::plainWrite(folder.filePath(order + ".freed"), 2 * qsizetype(kDeposits) * 100);
    QFile::remove(folder.filePath(order + ".freed"));

    const QString csvPath = folder.filePath(order + ".csv");
    const auto exportCsv = [&] {
        world.files.savePath = csvPath;
        const double s = bench::seconds([&] { world.window.actions().fileExportCsv->trigger(); });
        if (QFileInfo(csvPath).size() < qint64(kDeposits) * 50)
            qFatal("the export wrote %lld bytes", QFileInfo(csvPath).size());
        return s;
    };
    const auto save = [&] {
        world.window.Grid().setCell(1, Interest, QStringLiteral("5.5"));  // something to save
        world.window.flags().ModifiedFlag = true;
        const double s = bench::seconds([&] { world.window.actions().fileSave->trigger(); });
        if (world.window.flags().ModifiedFlag)
            qFatal("the save did not finish");
        return s;
    };
    double exported = 0, saved = 0;
    if (order == kExportFirst) {
        exported = exportCsv();
        saved = save();
    } else {
        saved = save();
        exported = exportCsv();
    }
    std::printf("%.9f %.9f\n", exported, saved);
    return 0;
}

struct Timing {
    double exportCsv;
    double save;
};

Timing runFresh(const QString& depositPath, const QString& order)
{
    const QList<double> times = bench::numbersOfFreshProcess({depositPath, order}, 2);
    return {times[0], times[1]};
}

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    applyApplicationLook(app);
    const QStringList args = app.arguments();
    if (args.size() == 3)
        return timeOneOrder(args[1], args[2]);

    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-csv-XXXXXX"));
    const QString depositPath = dir.filePath(QStringLiteral("million.tmd"));
    bench::writeRealisticFile(depositPath, kDeposits);
    ::sync();

    const Timing exportFirst = runFresh(depositPath, kExportFirst);
    const Timing saveFirst = runFresh(depositPath, kSaveFirst);
    bench::report("csv_export_1m_ratio_vs_save",
                  (exportFirst.exportCsv + saveFirst.exportCsv) / (exportFirst.save + saveFirst.save));
    std::printf("# export first: export %.1f ms, save %.1f ms; save first: save %.1f ms, export %.1f ms\n",
                exportFirst.exportCsv * 1e3, exportFirst.save * 1e3, saveFirst.save * 1e3,
                saveFirst.exportCsv * 1e3);
    return 0;
}
