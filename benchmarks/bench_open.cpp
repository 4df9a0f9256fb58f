// The main window's File > Open of a million deposits in a fresh process:
// its time until the grid shows the rows, and the memory the window grows by.
#include "app/widgets/register_grid.h"
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "bench_support.h"
#include "core/register.h"
#include "platform/qt_platform.h"
#include "storage/deposit_file_reader.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>

using namespace td;

namespace {

constexpr int kDeposits = 1'000'000;

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
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-open-XXXXXX"));
    const QString depositPath = dir.filePath(QStringLiteral("million.tmd"));
    bench::writeRealisticFile(depositPath, kDeposits);

    SilentMessages messages;
    ChosenFile chosen(depositPath);
    QtPrinter printer;
    QtBusyPointer pointer;
    QtModalDisplay modal;
    QtClock clock;
    QtScreen screen;
    QtProgressDisplay progress;
    QtNotifications notifications;
    Platform platform{messages,     chosen,   printer,
                      pointer,      modal,    clock,
                      screen,       progress, DateForm::fromLocale(QLocale::c()),
                      notifications};
    frmTermDeposit window(platform);
    window.startUp();
    window.show();
    QCoreApplication::processEvents();

    // The fresh read beside it: the whole file into one new buffer (freed again).
    const double fresh = bench::freshRead(depositPath);
    auto openAndShow = [&] {
        window.mnuFileItem_Click(1);
        QCoreApplication::processEvents();
        window.gridView()->viewport()->repaint();
    };
    const long long before = bench::residentBytes();
    const double firstOpen = bench::seconds(openAndShow);
    const long long after = bench::residentBytes();
    if (window.Grid().rows() != kDeposits + 2)
        qFatal("open showed %d rows", window.Grid().rows());
    bench::report("open_1m_first_ratio_vs_fresh_read", firstOpen / fresh);
    bench::report("register_bytes_per_deposit", double(after - before) / kDeposits);

    // Opening again after New, the best of five, against the bare load (the
    // best of five as well): what the window adds to a load.
    double open = 1e100;
    double load = 1e100;
    for (int run = 0; run < 5; ++run) {
        window.mnuFileItem_Click(0);
        QCoreApplication::processEvents();
        open = std::min(open, bench::seconds(openAndShow));
        window.mnuFileItem_Click(0);
        QCoreApplication::processEvents();
        DepositFileReader reader;
        load = std::min(load, bench::seconds([&] {
                            if (!reader.readFile(depositPath))
                                qFatal("load failed");
                        }));
    }
    bench::report("open_1m_gui_ratio_vs_load", open / load);
    std::printf("# fresh read %.1f ms, first open %.1f ms, later open %.1f ms, load %.1f ms\n", fresh * 1e3,
                firstOpen * 1e3, open * 1e3, load * 1e3);
    return 0;
}
