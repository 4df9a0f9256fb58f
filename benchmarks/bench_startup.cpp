// Start-up of the program against a bare Qt window, each the first start of a
// fresh process, up to its main window's first show (startup_timing.h: shown,
// exposed by the window system and painted), on the offscreen platform
// unless QT_QPA_PLATFORM names another:
// - the program's side is this executable started again with
//   kProgramSide, linked as the program is (the same libraries, the same
//   link options): it does what main.cpp does, in that order (the
//   QApplication and its names, the program's look, the Qt platform, the
//   main window, its load step with the start-up message box, then the main
//   window shown). The message box is shown as always and closed as soon as
//   it has been painted, as if the user pressed OK at once;
// - the baseline is startup_bare_qt (startup_bare_qt.cpp): the same
//   QApplication set-up and a QMainWindow with a menu bar, linked against Qt
//   Widgets alone, built by the same build.
// The figure is the processor time each process took from its beginning (the
// dynamic loader included, every thread) until that show: what a start-up
// costs whatever else the machine runs. A wait costs no processor time, so
// the ratio of the time on the clock from the start of the process to the
// show is printed beside it. The two run in pairs, alternately first, and the
// figure is the median of the pairs' ratios.
#include "app/widgets/look.h"
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "bench_support.h"
#include "platform/qt_platform.h"
#include "startup_timing.h"

#include <QApplication>
#include <QDialog>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <vector>

using namespace td;

namespace {

const QString kProgramSide = QStringLiteral("--program-side");
constexpr int kPairs = 9;

// Closes each modal dialog (the start-up message box) once it has been
// painted, as a user pressing OK as soon as it shows.
class CloseWhenShown final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose) {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                QTimer::singleShot(0, dialog, &QDialog::accept);
        }
        return QObject::eventFilter(watched, event);
    }
};

// As main.cpp, without its command line (there is no file to open).
int programSide(int argc, char* argv[])
{
    bench::platformUnlessChosen();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("termdeposit"));
    QApplication::setApplicationVersion(QStringLiteral("bench"));
    QGuiApplication::setDesktopFileName(QStringLiteral("termdeposit"));
    CloseWhenShown closer;
    app.installEventFilter(&closer);
    applyApplicationLook(app);

    QtPlatform platform;
    frmTermDeposit window(platform.platform());
    window.startUp();
    return bench::reportFirstShow(window);
}

struct Start {
    double cpu;   // processor seconds of the process until its first show
    double wall;  // seconds on the clock from its start until then
};

Start startFresh(const QString& program, const QStringList& arguments)
{
    QProcess child;
    const double started = bench::clockSeconds(CLOCK_MONOTONIC);
    child.start(program, arguments);
    // Qt's warnings about the offscreen platform would bury the figures; they
    // are shown when the start failed.
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        qFatal("%s did not start and show its window:\n%s", qPrintable(program),
               child.readAllStandardError().constData());
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 2)
        qFatal("%s printed no timing", qPrintable(program));
    return {fields[0].toDouble(), fields[1].toDouble() - started};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc == 2 && QString::fromLocal8Bit(argv[1]) == kProgramSide)
        return programSide(argc, argv);

    QCoreApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    const QString bare = QCoreApplication::applicationDirPath() + QStringLiteral("/startup_bare_qt");
    std::vector<double> cpuRatios, wallRatios, programCpu, bareCpu;
    for (int pair = 0; pair < kPairs; ++pair) {
        Start program{}, baseline{};
        if (pair % 2 == 0) {
            program = startFresh(self, {kProgramSide});
            baseline = startFresh(bare, {});
        } else {
            baseline = startFresh(bare, {});
            program = startFresh(self, {kProgramSide});
        }
        cpuRatios.push_back(program.cpu / baseline.cpu);
        wallRatios.push_back(program.wall / baseline.wall);
        programCpu.push_back(program.cpu);
        bareCpu.push_back(baseline.cpu);
    }
    bench::report("startup_ratio_vs_bare_qt", median(cpuRatios));
    std::printf("# median processor time: program %.1f ms, bare Qt window %.1f ms; median ratio on the "
                "clock %.3f\n",
                median(programCpu) * 1e3, median(bareCpu) * 1e3, median(wallRatios));
    return 0;
}
