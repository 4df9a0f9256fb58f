// What guarding a save costs on a file of a million deposits, in a fresh
// process, each side measured twice (no best-of; see the order below):
// - the baseline is DepositFileWriter::writeFile alone: a temporary file beside
//   the old one, every byte written and checked, synced, renamed over it;
// - the guarded save is SaveGuard::save around the same write: the file is
//   compared with what it was when read, owner, group, permission bits and
//   extended attributes are carried over, and the new file's identity is
//   settled (a wait of up to 20 ms when the sync was quicker than that);
// - the hard-linked save writes the new contents whole beside the file,
//   synced, then copies them over the old file in place and syncs it;
// - the identity of a file as it is now and the check before a save are a
//   stat each (and a wait when the file was changed in the last 20 ms);
// - the check after new permissions, which move the file's change time alone,
//   compares the contents once: a hash of the whole file.
#include "bench_support.h"
#include "core/register.h"
#include "storage/deposit_file_reader.h"
#include "storage/deposit_file_writer.h"
#include "storage/save_guard.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

using namespace td;

namespace {

constexpr int kDeposits = 1'000'000;

template <typename F>
double seconds(F&& f)
{
    QElapsedTimer timer;
    timer.start();
    f();
    return timer.nsecsElapsed() / 1e9;
}

// The file as a save would write it, field by field.
QByteArray depositFileBytes()
{
    static const int widths[] = {20, 15, 7, 2, 2, 10, 10, 15, 15, 3};
    QByteArray bytes;
    bytes.reserve(qsizetype(kDeposits) * 100);
    for (int n = 0; n < kDeposits; ++n) {
        const DepositRecord d = bench::realisticDeposit(n);
        for (int c = 0; c < 10; ++c)
            bytes += d.texts[c].toLatin1().leftJustified(widths[c], ' ', true);
        bytes += '\r';
    }
    return bytes;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-safety-XXXXXX"));
    const QString plainPath = dir.filePath(QStringLiteral("plain.tmd"));
    const QString guardedPath = dir.filePath(QStringLiteral("guarded.tmd"));
    const QString linkedPath = dir.filePath(QStringLiteral("linked.tmd"));
    const QByteArray bytes = depositFileBytes();
    for (const QString& path : {plainPath, guardedPath, linkedPath})
        writeBytes(path, bytes);
    if (::link(QFile::encodeName(linkedPath).constData(),
               QFile::encodeName(dir.filePath(QStringLiteral("other name.tmd"))).constData()) != 0)
        qFatal("cannot link");

    Register reg;
    DepositFileReader reader;
    if (!reader.readFile(guardedPath))
        qFatal("cannot read: %s", qPrintable(reader.errorString()));
    const FileIdentity read = reader.fileIdentity();
    reg.replaceDeposits(reader.takeRecords());
    ::sync();    // no writeback of the set-up left to slow one side down
    ::sleep(1);  // every file well older than the timestamps' step

    DepositFileWriter writer;
    SaveGuard guard;
    const auto writeTo = [&](const QString& target) { return writer.writeFile(target, reg); };

    FileIdentity identity;
    const double identityNow = seconds([&] { identity = SaveGuard::identityNow(guardedPath); });
    guard.remember(guardedPath, read);
    bool changed = true;
    const double changeCheck = seconds([&] { changed = guard.changedOnDisk(guardedPath); });
    if (changed)
        qFatal("an untouched file counts as changed");
    if (::chmod(QFile::encodeName(guardedPath).constData(), 0640) != 0)
        qFatal("cannot change permissions");
    const double chmodCheck = seconds([&] { changed = guard.changedOnDisk(guardedPath); });
    if (changed)
        qFatal("new permissions count as a change");

    // A save right after another is slower (the first one's writeback), so
    // the three run forwards and then backwards, and each side is the sum of
    // its two runs: every side gets the same places in the order.
    double plain = 0, guarded = 0, linked = 0;
    const auto savePlain = [&] {
        plain += seconds([&] {
            if (!writer.writeFile(plainPath, reg))
                qFatal("save failed: %s", qPrintable(writer.errorString()));
        });
    };
    const auto saveGuarded = [&](const QString& path, double& total) {
        total += seconds([&] {
            if (!guard.save(path, writer, writeTo))
                qFatal("guarded save failed: %s", qPrintable(guard.errorString()));
        });
    };
    savePlain();
    saveGuarded(guardedPath, guarded);
    saveGuarded(linkedPath, linked);
    saveGuarded(linkedPath, linked);
    saveGuarded(guardedPath, guarded);
    savePlain();

    bench::report("save_1m_guarded_ratio_vs_writer", guarded / plain);
    bench::report("save_1m_hard_linked_ratio_vs_writer", linked / plain);
    bench::report("identity_now_ms", identityNow * 1e3);
    bench::report("changed_check_ms", changeCheck * 1e3);
    bench::report("changed_check_after_chmod_ms", chmodCheck * 1e3);
    std::fprintf(stderr, "two saves each: writer %.1f ms, guarded %.1f ms, hard-linked %.1f ms\n",
                 plain * 1e3, guarded * 1e3, linked * 1e3);
    return 0;
}
