// The interest by year window on a million deposits, driven through the main
// window as a user drives it (offscreen).
//
// The figure comes from a process of its own, so it is a first run: the
// parent writes the file of a million deposits and starts this program again.
// The child opens the file through File > Open and measures against two
// baselines taken in that child, on the same register. All times are the
// processor time of the main thread.
//
//   interest_by_year_1m_ratio_vs_fresh_read: Term Deposit > Interest by Year
//     until the window has drawn its table and chart, against the fresh read
//     of the same file: the whole file with one plain QFile::read into newly
//     allocated memory (bench::freshRead).
//   interest_by_year_1m_ratio_vs_save: building the rows alone (the one pass
//     over the register that counts every year of every deposit, active and
//     all), against saving the same register as a deposit file (the writer's
//     pass over the records into a temporary file, synced and moved into place).
#include "app/windows/frm_interest_by_year.h"
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "bench_support.h"
#include "commands/interest_by_year.h"
#include "core/register.h"
#include "platform/qt_platform.h"
#include "storage/deposit_file_writer.h"
#include "support/test_settings.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>

using namespace td;

namespace {

constexpr int kDeposits = 1'000'000;

// OK to the start-up message; an error ends the run.
class Answers final : public MessageBoxes {
public:
    MessageButton ask(const QString& title, const QString& text, MessageIcon, MessageButtons buttons) override
    {
        if (title.contains(QLatin1String("Error")) || buttons != MessageButtons::Ok)
            qFatal("%s", qPrintable(text));
        return MessageButton::Ok;
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

// The offscreen platform's notes on what it cannot do say nothing here.
void quietWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

int runChild(const QString& depositPath, int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietWarnings);
    QApplication app(argc, argv);
    // Calendar years, no tax: the user's own settings play no part.
    test::startWithNoSettingsFile();
    Answers messages;
    ChosenFile chosen(depositPath);
    QtPrinter printer;
    QtBusyPointer pointer;
    QtModalDisplay modal;
    QtClock clock;
    QtScreen screen;
    QtProgressDisplay progress;
    Platform platform{messages, chosen,   printer,
                      pointer,  modal,    clock,
                      screen,   progress, DateForm::fromLocale(QLocale::c())};
    frmTermDeposit window(platform);
    window.startUp();
    window.show();
    QCoreApplication::processEvents();
    const double fresh = bench::freshRead(depositPath);
    window.mnuFileItem_Click(1);
    QCoreApplication::processEvents();
    const Register& reg = window.Grid();
    if (reg.depositCount() != kDeposits)
        qFatal("open gave %d deposits", reg.depositCount());

    const double open = bench::seconds([&] {
        window.actions().interestByYear->trigger();
        QCoreApplication::processEvents();
        window.interestByYearWindow()->repaint();
    });
    const frmInterestByYear* years = window.interestByYearWindow();
    if (!years || years->GridInterestByYear()->model()->rowCount() == 0)
        qFatal("the interest by year window did not open");

    interest_by_year::Tables tables;
    const double rows = bench::seconds([&] {
        if (!interest_by_year::countRegister(reg, platform.dateForm, 1, tables))
            qFatal("the count stopped");
    });
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-save-XXXXXX"));
    DepositFileWriter writer;
    const double save = bench::seconds([&] {
        if (!writer.writeFile(dir.filePath(QStringLiteral("saved.tmd")), reg))
            qFatal("save failed");
    });
    std::printf(
        "# fresh read %.1f ms, window open in %.1f ms; rows built in %.1f ms, save %.1f ms; %zu years\n",
        fresh * 1e3, open * 1e3, rows * 1e3, save * 1e3, tables.all.years.size());
    std::printf("open %.6f\nrows %.6f\n", open / fresh, rows / save);
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--child") == 0)
        return runChild(QString::fromLocal8Bit(argv[2]), argc, argv);
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-interest-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("million.tmd"));
    bench::writeRealisticFile(path, kDeposits);
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), path});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        qFatal("the child run failed");
    QMap<QString, double> values;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (line.startsWith('#'))
            std::printf("%s\n", line.constData());
        else if (parts.size() == 2)
            values.insert(QString::fromLatin1(parts[0]), parts[1].toDouble());
    }
    bench::report("interest_by_year_1m_ratio_vs_fresh_read", values.value(QStringLiteral("open")));
    bench::report("interest_by_year_1m_ratio_vs_save", values.value(QStringLiteral("rows")));
    return 0;
}
