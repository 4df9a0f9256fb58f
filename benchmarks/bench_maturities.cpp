// The maturities window on a million deposits, driven through the main window
// as a user drives it (offscreen), and the CSV export beside it.
//
// Every window figure comes from a process of its own, so each is a first
// run: the parent writes the file of a million deposits once and starts this
// program again for each figure. A child opens the file through File > Open
// and measures against the fresh read of the same file, taken in that child:
// the whole file with one plain QFile::read into newly allocated memory
// (bench::freshRead). All times are the processor time of the main thread.
//
//   maturities_open_1m_ratio_vs_fresh_read: Term Deposit > Maturities until
//     the window has drawn its rows and totals.
//   maturities_change_1m_ratio_vs_fresh_read: the window's share of an Add,
//     an overwrite and a Delete made in the main window with the maturities
//     window open (the worst of the three): the time spent in the handlers the
//     window connected to the register's signals, then its catching up and
//     drawing. The command's own work in the main window is not counted; the
//     main window's commands have figures of their own.
//   maturities_sort_1m_ratio_vs_fresh_read: choosing a column under Sort by
//     (the term date: ticking Descending; Tax and Net Interest with a tax
//     share set) until the rows are drawn, the slowest column of all.
//   maturities_bytes_per_deposit: the resident memory the open window adds
//     beside the register, a deposit.
//
// csv_export_plain_ratio_vs_save: the export against saving the same
// register as a deposit file (the writer's one pass over the register's
// records into a temporary file, synced and moved into place).
#include "app/widgets/maturities_model.h"
#include "app/widgets/ruled_text_box.h"
#include "app/windows/frm_maturities.h"
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "app/windows/frm_term_deposit_details.h"
#include "bench_support.h"
#include "bench_window_seams.h"
#include "commands/csv_export.h"
#include "commands/maturities.h"
#include "core/register.h"
#include "platform/preferences.h"
#include "storage/deposit_file_writer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>

using namespace td;

namespace {

constexpr int kDeposits = 1'000'000;

// The details dialog as a user fills it: the account number typed, the rest
// as the dialog offers it or typed too, then Add.
std::function<void(QDialog&)> addDeposit(const QString& account)
{
    return [account](QDialog& dialog) {
        auto& details = static_cast<frmTermDepositDetails&>(dialog);
        details.txtAccountNumber()->setText(account);
        details.txtInterest()->setText(QStringLiteral("5"));
        details.txtTermYears()->setText(QStringLiteral("2"));
        details.txtAccountBalance()->setText(QStringLiteral("$1,000.00"));
        details.cmdAdd()->click();
    };
}

// The processor time spent in the slots connected to the register's change
// signals between two moments: the handlers of a window opened in between.
class HandlerTime {
public:
    explicit HandlerTime(const Register& reg) : m_register(reg) { connectAll(true); }
    void startCounting() { connectAll(false); }
    double seconds() const { return m_seconds; }
    void reset() { m_seconds = 0; }

private:
    static double now()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
    }
    template <typename Signal>
    void track(Signal signal, bool first)
    {
        if (first)
            QObject::connect(&m_register, signal, &m_context, [this] { m_mark = now(); });
        else
            QObject::connect(&m_register, signal, &m_context, [this] { m_seconds += now() - m_mark; });
    }
    void connectAll(bool first)
    {
        track(&QAbstractItemModel::rowsAboutToBeInserted, first);
        track(&QAbstractItemModel::rowsInserted, first);
        track(&QAbstractItemModel::rowsAboutToBeRemoved, first);
        track(&QAbstractItemModel::rowsRemoved, first);
        track(&QAbstractItemModel::rowsAboutToBeMoved, first);
        track(&QAbstractItemModel::rowsMoved, first);
        track(&QAbstractItemModel::dataChanged, first);
        track(&QAbstractItemModel::modelAboutToBeReset, first);
        track(&QAbstractItemModel::modelReset, first);
        track(&QAbstractItemModel::layoutAboutToBeChanged, first);
        track(&QAbstractItemModel::layoutChanged, first);
    }

    const Register& m_register;
    QObject m_context;
    double m_mark = 0;
    double m_seconds = 0;
};

// The offscreen platform's notes on what it cannot do say nothing here.
void quietWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// One figure, in a process of its own.
int runFigure(const QString& figure, const QString& depositPath, int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietWarnings);
    QApplication app(argc, argv);
    bench::WindowWorld world(depositPath);
    world.messages.everyQuestion = MessageButton::Yes;  // the overwrite and Delete questions
    frmTermDeposit& window = world.window;
    const double fresh = bench::freshRead(depositPath);
    window.mnuFileItem_Click(1);
    QCoreApplication::processEvents();
    if (window.Grid().depositCount() != kDeposits)
        qFatal("open gave %d deposits", window.Grid().depositCount());
    HandlerTime handlers(window.Grid());

    const long long before = bench::residentBytes();
    double built = 0;
    const double open = bench::seconds([&] {
        built = bench::seconds([&] { window.Maturities(); });
        QCoreApplication::processEvents();
        window.maturitiesWindow()->repaint();
    });
    frmMaturities* maturities = window.maturitiesWindow();
    if (!maturities || maturities->GridMaturities()->model()->rowCount() != kDeposits)
        qFatal("the maturities window did not open");
    handlers.startCounting();
    auto upToDate = [&] {
        maturities->model()->catchUp();
        maturities->repaint();
    };

    if (figure == QLatin1String("open")) {
        std::printf("# fresh read %.1f ms, maturities window built in %.1f ms, shown in %.1f ms\n",
                    fresh * 1e3, built * 1e3, open * 1e3);
        std::printf("open %.6f\n", open / fresh);
        std::printf("bytes %.3f\n", double(bench::residentBytes() - before) / kDeposits);
    } else if (figure == QLatin1String("change")) {
        Register& reg = window.Grid();
        const int middle = kDeposits / 2;
        const QString existing = reg.cell(middle, AccountNumber);
        double worst = 0;
        auto measure = [&](const char* name, const std::function<void()>& command) {
            QCoreApplication::processEvents();
            handlers.reset();
            command();
            const double share = handlers.seconds() + bench::seconds(upToDate);
            std::printf("# %s: %.1f ms in the maturities window\n", name, share * 1e3);
            worst = std::max(worst, share);
        };
        measure("add", [&] {
            world.modal.handlers.push_back(addDeposit(QStringLiteral("ZZ-BENCH-NEW")));
            window.actions().newTermDeposit->trigger();
        });
        measure("overwrite", [&] {
            world.modal.handlers.push_back(addDeposit(existing));
            window.actions().newTermDeposit->trigger();
        });
        measure("delete", [&] {
            reg.setCurrentCell(middle, AccountNumber);
            window.actions().deleteTermDeposit->trigger();
        });
        if (reg.depositCount() != kDeposits)
            qFatal("the commands left %d deposits", reg.depositCount());
        // Coming back to the window on the same day: nothing to count.
        window.activateWindow();
        QCoreApplication::processEvents();
        const double activation = bench::seconds([&] {
            maturities->activateWindow();
            QCoreApplication::processEvents();
            maturities->repaint();
        });
        std::printf("# activating the window again: %.1f ms\n", activation * 1e3);
        std::printf("change %.6f\n", worst / fresh);
    } else {
        const int column = figure.toInt();
        // The tax columns are there while a tax share is set, as the preferences dialog sets it.
        if (column == maturities::TaxColumn || column == maturities::NetInterestColumn) {
            Preferences taxed;
            taxed.taxShareHundredthsOfPercent = 1050;
            emit PreferencesNotifier::instance().changed(taxed);
            QCoreApplication::processEvents();
        }
        const int shown = maturities->model()->viewColumnOf(column);
        const double sort = bench::seconds([&] {
            if (column == maturities::TermDateColumn)
                maturities->ckDescending()->click();
            else
                maturities->cboSortBy()->setCurrentIndex(shown);
            maturities->repaint();
        });
        if (maturities->model()->sortColumn() != column)
            qFatal("the sort by column %d did not run", column);
        std::printf("sort %.6f\n", sort / fresh);
    }
    return 0;
}

// The figure lines of a child, the others passed on.
QMap<QString, double> runChild(const QString& figure, const QString& path)
{
    QMap<QString, double> values;
    for (const QByteArray& line :
         bench::runFreshProcess({QStringLiteral("--figure"), figure, path}).split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (line.startsWith('#'))
            std::printf("%s\n", line.constData());
        else if (parts.size() == 2)
            values.insert(QString::fromLatin1(parts[0]), parts[1].toDouble());
    }
    return values;
}

void reportWindowFigures(const QString& path)
{
    const QMap<QString, double> open = runChild(QStringLiteral("open"), path);
    const QMap<QString, double> change = runChild(QStringLiteral("change"), path);
    double slowestSort = 0;
    for (int c = 0; c < maturities::ColumnCount; ++c) {
        const double sort = runChild(QString::number(c), path).value(QStringLiteral("sort"));
        std::printf("# sort by %s: %.3f of the fresh read\n", qPrintable(maturities::headerText(c)), sort);
        slowestSort = std::max(slowestSort, sort);
    }
    bench::report("maturities_open_1m_ratio_vs_fresh_read", open.value(QStringLiteral("open")));
    bench::report("maturities_change_1m_ratio_vs_fresh_read", change.value(QStringLiteral("change")));
    bench::report("maturities_sort_1m_ratio_vs_fresh_read", slowestSort);
    bench::report("maturities_bytes_per_deposit", open.value(QStringLiteral("bytes")));
}

void reportCsvExport(const QString& dir)
{
    Register reg;
    for (int c = 0; c < ColumnCount; ++c)
        reg.setCell(0, c, headerText(c));
    for (int i = 0; i < kDeposits; ++i)
        reg.appendDeposit(bench::realisticDeposit(i));
    QElapsedTimer timer;
    timer.start();
    DepositFileWriter writer;
    if (!writer.writeFile(QDir(dir).filePath(QStringLiteral("register.tmd")), reg))
        qFatal("save failed");
    const double save = double(timer.nsecsElapsed());
    timer.restart();
    csv::FileExporter exporter;
    if (!exporter.writeRegister(QDir(dir).filePath(QStringLiteral("register.csv")), reg,
                                csv::Form::PlainNumbers, DateForm()))
        qFatal("export failed");
    bench::report("csv_export_plain_ratio_vs_save", double(timer.nsecsElapsed()) / save);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--figure") == 0)
        return runFigure(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), argc, argv);
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-maturities-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("million.tmd"));
    bench::writeRealisticFile(path, kDeposits);
    reportWindowFigures(path);
    reportCsvExport(dir.path());
    return 0;
}
