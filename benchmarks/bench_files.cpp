// Loading a deposit file of a million deposits against plain QFile reading of
// the same bytes, in processor time of this thread. The first load is the
// fresh process's first; the later ones say how they count. Saving is
// measured in bench_save.cpp.
#include "bench_support.h"
#include "core/register.h"
#include "storage/deposit_file_reader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

using namespace td;

namespace {

constexpr int kDeposits = 1'000'000;
constexpr qsizetype kBlock = 1 << 20;

// The baseline of a warm load: the file in 1 MiB pieces into one reused buffer.
void warmRead(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot open %s", qPrintable(path));
    static QByteArray block(kBlock, Qt::Uninitialized);
    while (file.read(block.data(), block.size()) > 0) {
    }
}

RecordBlock load(const QString& path)
{
    DepositFileReader reader;
    if (!reader.readFile(path))
        qFatal("load failed: %s", qPrintable(reader.errorString()));
    return reader.takeRecords();
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-files-XXXXXX"));
    const QString depositPath = dir.filePath(QStringLiteral("million.tmd"));
    bench::writeRealisticFile(depositPath, kDeposits);
    warmRead(depositPath);  // the file in the page cache for every reader below

    // First load against the fresh read, in that order, each into new memory.
    // The load asks for huge pages. A virtual machine that reports free 2 MiB
    // blocks to its host (virtio free page reporting) gets them back
    // unbacked, and their first touch then costs several times more: on such
    // a machine about one first load in five takes four times as long.
    const double fresh = bench::freshRead(depositPath);
    Register reg;
    const double firstLoad = bench::seconds([&] {
        if (!reg.replaceDeposits(load(depositPath)))
            qFatal("no memory for the register");
    });
    if (reg.depositCount() != kDeposits)
        qFatal("load read %d rows", reg.depositCount());
    bench::report("load_1m_ratio_vs_fresh_read", firstLoad / fresh);

    // Later loads, the best of six, against the best of six reads into a
    // reused buffer. Each load's records are freed outside its timing, as a
    // register's are when the next file comes.
    double read = 1e100;
    double warmLoad = 1e100;
    RecordBlock loaded;
    for (int run = 0; run < 6; ++run) {
        read = std::min(read, bench::seconds([&] { warmRead(depositPath); }));
        loaded = RecordBlock();
        warmLoad = std::min(warmLoad, bench::seconds([&] { loaded = load(depositPath); }));
    }
    bench::report("load_1m_ratio_vs_read", warmLoad / read);
    std::printf("# fresh read %.1f ms, first load %.1f ms, warm read %.1f ms, warm load %.1f ms\n",
                fresh * 1e3, firstLoad * 1e3, read * 1e3, warmLoad * 1e3);
    return 0;
}
