// Loading and saving a deposit file of a million deposits against plain QFile
// reading and writing of the same bytes, and the main window's Open against the
// bare load.
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "app/widgets/register_grid.h"
#include "bench_support.h"
#include "core/packed_row.h"
#include "platform/qt_platform.h"
#include "core/register.h"
#include "storage/deposit_file_reader.h"
#include "storage/deposit_file_writer.h"
#include "storage/exact_save_check.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <unistd.h>

using namespace td;

namespace {

constexpr int kDeposits = 1'000'000;
constexpr qsizetype kBlock = 1 << 20;

template <typename F>
double seconds(F&& f)
{
    QElapsedTimer timer;
    timer.start();
    f();
    return timer.nsecsElapsed() / 1e9;
}

void plainRead(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot open %s", qPrintable(path));
    QByteArray block(kBlock, Qt::Uninitialized);
    while (file.read(block.data(), block.size()) > 0) {
    }
}

// The same durability as a save: the bytes are on the disk when it returns.
void plainWrite(const QString& path, const QByteArray& block, qsizetype total)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot open %s", qPrintable(path));
    for (qsizetype done = 0; done < total; done += block.size())
        file.write(block.constData(), std::min(block.size(), total - done));
    file.flush();
    ::fsync(file.handle());
}

// The main window's seams, answering without anyone at the screen.
class SilentMessages final : public MessageBoxes {
public:
    MessageButton ask(const QString& title, const QString& text, MessageIcon, MessageButtons buttons) override
    {
        if (title.contains(QLatin1String("Error")))
            qFatal("%s", qPrintable(text));
        return buttons == MessageButtons::Ok ? MessageButton::Ok : MessageButton::No;
    }
};

class ChosenFile final : public FileDialogs {
public:
    explicit ChosenFile(QString path) : m_path(std::move(path)) {}
    std::optional<QString> openFileName(const FileDialogSettings&) override { return m_path; }
    std::optional<QString> saveFileName(const FileDialogSettings&) override { return m_path; }

private:
    QString m_path;
};

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-files-XXXXXX"));
    const QString depositPath = dir.filePath(QStringLiteral("million.tmd"));
    const QString plainPath = dir.filePath(QStringLiteral("plain.bin"));

    Register reg;
    {
        std::vector<QByteArray> rows;
        rows.reserve(kDeposits);
        for (int i = 0; i < kDeposits; ++i) {
            DepositRecord d = bench::realisticDeposit(i);
            rows.push_back(packed_row::pack(d.texts));
        }
        reg.replaceDeposits(std::move(rows));
    }
    const qsizetype totalBytes = qsizetype(kDeposits) * 100;

    // Each pair is measured in turns, so both sides see the same machine; the
    // best of the runs counts.
    // Save: the check that asks before shortening, then the safe write.
    DepositFileWriter writer;
    QByteArray block(kBlock, 'x');
    double save = 1e100;
    double write = 1e100;
    for (int run = 0; run < 4; ++run) {
        save = std::min(save, seconds([&] {
            if (!findInexactDeposits(reg, 5).none() || !writer.writeFile(depositPath, reg))
                qFatal("save failed: %s", qPrintable(writer.errorString()));
        }));
        write = std::min(write, seconds([&] { plainWrite(plainPath, block, totalBytes); }));
    }
    bench::report("save_1m_ratio_vs_write", save / write);

    // Load: from the page cache into a new register's rows, which are freed
    // between runs as a register is when the next file is opened.
    DepositFileReader reader;
    auto loadOnce = [&] {
        std::vector<QByteArray> rows;
        const double s = seconds([&] {
            if (!reader.readFile(depositPath))
                qFatal("load failed: %s", qPrintable(reader.errorString()));
            rows = reader.takeRows();
        });
        if (rows.size() != std::size_t(kDeposits))
            qFatal("load read %zu rows", rows.size());
        return s;
    };
    plainRead(depositPath);
    double read = 1e100;
    double load = 1e100;
    for (int run = 0; run < 6; ++run) {
        read = std::min(read, seconds([&] { plainRead(depositPath); }));
        load = std::min(load, loadOnce());
    }
    bench::report("load_1m_ratio_vs_read", load / read);

    // File > Open in the main window until the grid has painted the file's rows.
    SilentMessages messages;
    ChosenFile chosen(depositPath);
    QtPrinter printer;
    QtBusyPointer pointer;
    QtModalDisplay modal;
    QtClock clock;
    QtScreen screen;
    Platform platform{messages, chosen, printer, pointer, modal, clock, screen, DateForm::fromLocale(QLocale::c())};
    frmTermDeposit window(platform);
    window.startUp();
    window.show();
    QCoreApplication::processEvents();
    double open = 1e100;
    double bareLoad = 1e100;
    for (int run = 0; run < 6; ++run) {
        window.mnuFileItem_Click(0);  // New: the Open starts from an empty register
        QCoreApplication::processEvents();
        open = std::min(open, seconds([&] {
            window.mnuFileItem_Click(1);
            QCoreApplication::processEvents();
            window.gridView()->viewport()->repaint();
        }));
        if (window.Grid().rows() != kDeposits + 2)
            qFatal("open showed %d rows", window.Grid().rows());
        window.mnuFileItem_Click(0);
        QCoreApplication::processEvents();
        bareLoad = std::min(bareLoad, loadOnce());
    }
    bench::report("open_1m_gui_ratio_vs_load", open / bareLoad);
    std::printf("# read %.1f ms, load %.1f ms, open %.1f ms (bare load beside it %.1f ms), "
                "write %.1f ms, save %.1f ms\n",
                read * 1e3, load * 1e3, open * 1e3, bareLoad * 1e3, write * 1e3, save * 1e3);
    return 0;
}
