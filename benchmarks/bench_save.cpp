// Saving a register of a million deposits against a plain write of as many
// bytes, in processor time of the measuring thread (a wait for the disk costs
// none), each the first writes of a fresh process:
// - the save is what File > Save does with the bytes: the check that asks
//   before shortening a text, then DepositFileWriter::writeFile (a temporary
//   file beside the target, every write checked, flushed, synced, renamed
//   over the target, the folder synced);
// - the baseline writes as many bytes to a new file in the same folder with
//   plain QFile, in 1 MiB writes from one buffer, then fsync, so that both are
//   on the disk when they return. Its buffer stays in the processor's cache,
//   while a save reads its 100 MB from memory.
// Both write a new file. On a virtual machine that hands free memory back to
// its host (virtio free page reporting), page cache that lands on such memory
// costs several times more, by luck of the draw: so the process first writes
// and deletes a file twice that size, and both then take memory just freed.
// Each order runs once in a fresh process (this program started again with
// the order as its argument) and the figure is both saves over both writes,
// so each side goes first once. Each order's own ratio is printed after it.
#include "bench_support.h"
#include "core/register.h"
#include "storage/deposit_file_reader.h"
#include "storage/deposit_file_writer.h"
#include "storage/exact_save_check.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <unistd.h>

using namespace td;

namespace {

constexpr int kDeposits = 1'000'000;
const QString kSaveFirst = QStringLiteral("save-first");
const QString kWriteFirst = QStringLiteral("write-first");

// One fresh process: loads the deposit file, then times the save and the
// plain write in the given order and prints "save write" in seconds.
int timeOneOrder(const QString& depositPath, const QString& order)
{
    DepositFileReader reader;
    Register reg;
    if (!reader.readFile(depositPath) || !reg.replaceDeposits(reader.takeRecords()))
        qFatal("load failed: %s", qPrintable(reader.errorString()));
    const QDir folder = QFileInfo(depositPath).dir();
    const qsizetype bytes = qsizetype(kDeposits) * 100;
    // Page cache for both writes from memory just freed (see the top).
    bench::plainWrite(folder.filePath(order + ".freed"), 2 * bytes);
    QFile::remove(folder.filePath(order + ".freed"));
    DepositFileWriter writer;
    const auto save = [&] {
        return bench::seconds([&] {
            if (!findInexactDeposits(reg, 5).none() ||
                !writer.writeFile(folder.filePath(order + ".tmd"), reg))
                qFatal("save failed: %s", qPrintable(writer.errorString()));
        });
    };
    const auto write = [&] {
        return bench::seconds([&] { bench::plainWrite(folder.filePath(order + ".bin"), bytes); });
    };
    double saved = 0, written = 0;
    if (order == kSaveFirst) {
        saved = save();
        written = write();
    } else {
        written = write();
        saved = save();
    }
    std::printf("%.9f %.9f\n", saved, written);
    return 0;
}

struct Timing {
    double save;
    double write;
};

Timing runFresh(const QString& depositPath, const QString& order)
{
    const QList<double> times = bench::numbersOfFreshProcess({depositPath, order}, 2);
    return {times[0], times[1]};
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3)
        return timeOneOrder(args[1], args[2]);

    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-save-XXXXXX"));
    const QString depositPath = dir.filePath(QStringLiteral("million.tmd"));
    bench::writeRealisticFile(depositPath, kDeposits);
    ::sync();  // no writeback of the set-up left to slow either side down

    const Timing saveFirst = runFresh(depositPath, kSaveFirst);
    const Timing writeFirst = runFresh(depositPath, kWriteFirst);
    bench::report("save_1m_ratio_vs_write",
                  (saveFirst.save + writeFirst.save) / (saveFirst.write + writeFirst.write));
    std::printf(
        "# save first: save %.1f ms, write %.1f ms (%.3f); write first: write %.1f ms, save %.1f ms (%.3f)\n",
        saveFirst.save * 1e3, saveFirst.write * 1e3, saveFirst.save / saveFirst.write, writeFirst.write * 1e3,
        writeFirst.save * 1e3, writeFirst.save / writeFirst.write);
    return 0;
}
