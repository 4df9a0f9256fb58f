// Loading and saving a deposit file of a million deposits against plain QFile
// reading and writing of the same bytes, in processor time of this thread.
// The first load is the fresh process's first; the others say how they count.
#include "bench_support.h"
#include "core/register.h"
#include "storage/deposit_file_reader.h"
#include "storage/deposit_file_writer.h"
#include "storage/exact_save_check.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <unistd.h>

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

// The baseline of a save: the same number of bytes in 1 MiB writes, on the
// disk (fsync) when it returns, as a save's are.
void plainWrite(const QString& path, qsizetype total)
{
    static const QByteArray block(kBlock, 'x');
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot open %s", qPrintable(path));
    for (qsizetype done = 0; done < total; done += block.size())
        file.write(block.constData(), std::min(block.size(), total - done));
    file.flush();
    ::fsync(file.handle());
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
    const QString savePath = dir.filePath(QStringLiteral("saved.tmd"));
    const QString plainPath = dir.filePath(QStringLiteral("plain.bin"));
    bench::writeRealisticFile(depositPath, kDeposits);
    warmRead(depositPath);  // the file in the page cache for every reader below

    // First load against the fresh read, in that order, each into new memory.
    const double fresh = bench::freshRead(depositPath);
    Register reg;
    const double firstLoad = bench::seconds([&] {
        if (!reg.replaceDeposits(load(depositPath)))
            qFatal("no memory for the register");
    });
    if (reg.depositCount() != kDeposits)
        qFatal("load read %d rows", reg.depositCount());
    bench::report("load_1m_ratio_vs_fresh_read", firstLoad / fresh);

    // Save: the check that asks before shortening, then the safe write, against
    // a plain write of as many bytes. Both write a new file, whose page cache
    // comes from whatever memory the system has at hand; on a virtual machine
    // memory not touched for a while costs several times more, so whichever
    // runs first pays more. Taken in turns, the best of three of each.
    const qsizetype totalBytes = qsizetype(kDeposits) * 100;
    DepositFileWriter writer;
    double write = 1e100;
    double save = 1e100;
    for (int run = 0; run < 3; ++run) {
        QFile::remove(plainPath);
        write = std::min(write, bench::seconds([&] { plainWrite(plainPath, totalBytes); }));
        QFile::remove(savePath);
        save = std::min(save, bench::seconds([&] {
                            if (!findInexactDeposits(reg, 5).none() || !writer.writeFile(savePath, reg))
                                qFatal("save failed: %s", qPrintable(writer.errorString()));
                        }));
    }
    bench::report("save_1m_ratio_vs_write", save / write);

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
    std::printf("# fresh read %.1f ms, first load %.1f ms, warm read %.1f ms, warm load %.1f ms, "
                "write %.1f ms, save %.1f ms\n",
                fresh * 1e3, firstLoad * 1e3, read * 1e3, warmLoad * 1e3, write * 1e3, save * 1e3);
    return 0;
}
