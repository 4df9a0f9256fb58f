// The recovery copy after one change to a register of a million deposits,
// against a save of that register, each the first of a fresh process:
// - the recovery write is what the window does when a deposit in the middle
//   of a register read from its file is overwritten (the ten cells the commit
//   writes) and the copy's timer fires: the keeper follows the change and
//   hands the copy to its writing thread (RecoveryKeeper::update). Its window
//   share is the processor time of the measuring thread from the change until
//   update() returns (the change itself included); it is the first copy of
//   the process, so its time on disk, the wall time from the change until
//   the writing thread has the copy synced and renamed into place
//   (RecoveryKeeper::waitForDisk), includes the claim of the copy's name and
//   lock, which the writing thread makes;
// - the save is what File > Save does with the bytes: the check that asks
//   before shortening a text, then DepositFileWriter::writeFile (a temporary
//   file beside the target, flushed, synced, renamed, the folder synced),
//   measured as processor time of the thread and as wall time.
// recovery_write_1m_ratio_vs_save is the window's share over the save's
// processor time (a wait for the disk costs the save none, so the save is
// the smaller baseline); recovery_on_disk_1m_ratio_vs_save is the wall time
// until the copy is on disk over the save's wall time. As in bench_save, the
// process first writes and deletes a file twice the register's size, so that
// both writes take page cache from memory just freed. Each order runs once
// in a fresh process (this program started again with the order as its
// argument), and each figure is both runs' sum over both runs' sum.
#include "bench_support.h"
#include "core/register.h"
#include "storage/deposit_file_reader.h"
#include "storage/deposit_file_writer.h"
#include "storage/exact_save_check.h"
#include "storage/recovery_keeper.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <unistd.h>

using namespace td;

namespace {

constexpr int kDeposits = 1'000'000;
const QString kSaveFirst = QStringLiteral("save-first");
const QString kRecoveryFirst = QStringLiteral("recovery-first");

struct Timing {
    double recoveryUi = 0;    // processor seconds of the window's thread
    double recoveryDisk = 0;  // wall seconds until the copy is on disk
    double saveCpu = 0;
    double saveWall = 0;
};

// One fresh process: loads the deposit file, then times the recovery write
// after one change and the save in the given order; prints the four figures in seconds.
int timeOneOrder(const QString& depositPath, const QString& order)
{
    DepositFileReader reader;
    Register reg;
    if (!reader.readFile(depositPath) || !reg.replaceDeposits(reader.takeRecords()))
        qFatal("load failed: %s", qPrintable(reader.errorString()));
    const QDir folder = QFileInfo(depositPath).dir();
    RecoveryKeeper keeper(
        reg, [&] { return depositPath; }, [] { return true; });
    keeper.setFolder(folder.filePath(order + QStringLiteral("-state")));
    keeper.follow({depositPath, reader.fileIdentity().size, *reader.fileIdentity().contentHash});
    const qsizetype bytes = qsizetype(kDeposits) * 100;
    bench::plainWrite(folder.filePath(order + ".freed"), 2 * bytes);
    QFile::remove(folder.filePath(order + ".freed"));

    Timing t;
    const auto recovery = [&] {
        const DepositRecord changed = bench::realisticDeposit(kDeposits + 1);
        const int row = kDeposits / 2;
        QElapsedTimer wall;
        wall.start();
        t.recoveryUi = bench::seconds([&] {
            for (int c = 0; c < ColumnCount; ++c)
                reg.setCell(row, c, changed[c]);
            keeper.update();
        });
        keeper.waitForDisk();
        t.recoveryDisk = double(wall.nsecsElapsed()) / 1e9;
        if (!QFileInfo::exists(keeper.copyPath()))
            qFatal("no recovery copy was written");
    };
    const auto save = [&] {
        DepositFileWriter writer;
        QElapsedTimer wall;
        wall.start();
        t.saveCpu = bench::seconds([&] {
            if (!findInexactDeposits(reg, 5).none() ||
                !writer.writeFile(folder.filePath(order + ".tmd"), reg))
                qFatal("save failed: %s", qPrintable(writer.errorString()));
        });
        t.saveWall = double(wall.nsecsElapsed()) / 1e9;
    };
    if (order == kSaveFirst) {
        save();
        recovery();
    } else {
        recovery();
        save();
    }
    std::printf("%.9f %.9f %.9f %.9f\n", t.recoveryUi, t.recoveryDisk, t.saveCpu, t.saveWall);
    return 0;
}

Timing runFresh(const QString& depositPath, const QString& order)
{
    const QList<double> t = bench::numbersOfFreshProcess({depositPath, order}, 4);
    return {t[0], t[1], t[2], t[3]};
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3)
        return timeOneOrder(args[1], args[2]);

    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-recovery-XXXXXX"));
    const QString depositPath = dir.filePath(QStringLiteral("million.tmd"));
    bench::writeRealisticFile(depositPath, kDeposits);
    ::sync();  // no writeback of the set-up left to slow either side down

    const Timing a = runFresh(depositPath, kSaveFirst);
    const Timing b = runFresh(depositPath, kRecoveryFirst);
    bench::report("recovery_write_1m_ratio_vs_save", (a.recoveryUi + b.recoveryUi) / (a.saveCpu + b.saveCpu));
    bench::report("recovery_on_disk_1m_ratio_vs_save",
                  (a.recoveryDisk + b.recoveryDisk) / (a.saveWall + b.saveWall));
    for (const auto& [name, t] : {std::pair{"save first", a}, std::pair{"recovery first", b}}) {
        std::printf("# %s: recovery %.3f ms in the window, %.1f ms until on disk; save %.1f ms processor, "
                    "%.1f ms wall\n",
                    name, t.recoveryUi * 1e3, t.recoveryDisk * 1e3, t.saveCpu * 1e3, t.saveWall * 1e3);
    }
    return 0;
}
