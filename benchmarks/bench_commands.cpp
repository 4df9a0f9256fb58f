// Add, the overwrite and Search on a million deposits, each run once in a
// fresh process through the real main window (offscreen) as a user runs it,
// its dialogs answered at once: from the menu command until the window is
// drawn again.
//
// The baseline, also in a fresh process of its own and also its first run:
// the plain read of the same million-deposit file with one QFile::read into
// one newly allocated buffer of its size (bench::freshRead), which is what
// merely bringing the register's bytes into fresh memory costs.
//
// Every figure is processor time of the thread that does the work.
#include "app/widgets/register_grid.h"
#include "app/widgets/ruled_text_box.h"
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "app/windows/frm_term_deposit_details.h"
#include "bench_support.h"
#include "core/register.h"
#include "platform/qt_platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <deque>
#include <functional>

using namespace td;

namespace {

constexpr int kDeposits = 1'000'000;

// Message boxes answered from a queue; a box nobody expected ends the run.
class ScriptedMessages final : public MessageBoxes {
public:
    std::deque<MessageButton> answers;
    QStringList asked;

    MessageButton ask(const QString&, const QString& text, MessageIcon, MessageButtons) override
    {
        asked << text;
        if (answers.empty())
            qFatal("unexpected message: %s", qPrintable(text));
        const MessageButton answer = answers.front();
        answers.pop_front();
        return answer;
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

// Shows each dialog, lets the next handler use it as a user would, and
// returns when it is closed, as exec() would.
class ScriptedModal final : public ModalDisplay {
public:
    std::deque<std::function<void(QDialog&)>> handlers;
    QStringList shown;

    int runModal(QDialog& dialog) override
    {
        shown << dialog.objectName();
        dialog.show();
        dialog.activateWindow();
        QCoreApplication::processEvents();
        if (handlers.empty())
            qFatal("unexpected dialog %s", qPrintable(dialog.objectName()));
        auto handler = std::move(handlers.front());
        handlers.pop_front();
        handler(dialog);
        if (dialog.isVisible())
            qFatal("%s was left open", qPrintable(dialog.objectName()));
        return dialog.result();
    }
};

// Keys as the keyboard sends them: the box takes the focus, then each character.
void type(QLineEdit* box, const QString& text)
{
    box->setFocus(Qt::MouseFocusReason);
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(box, &press);
        QCoreApplication::sendEvent(box, &release);
    }
}

void click(QAbstractButton* button)
{
    button->setFocus(Qt::MouseFocusReason);
    button->click();
}

// The account number of the deposit written for n (bench::realisticDeposit).
QString accountOf(int n) { return bench::realisticDeposit(n)[AccountNumber]; }

// One command in this fresh process: opens the file, then times the command.
double measureCommand(const QString& command, const QString& path)
{
    ScriptedMessages messages;
    ChosenFile chosen(path);
    QtPrinter printer;
    QtBusyPointer pointer;
    ScriptedModal modal;
    QtClock clock;
    QtScreen screen;
    QtProgressDisplay progress;
    QtNotifications notifications;
    Platform platform{messages,     chosen,   printer,
                      pointer,      modal,    clock,
                      screen,       progress, DateForm::fromLocale(QLocale::c()),
                      notifications};
    frmTermDeposit window(platform);
    messages.answers.push_back(MessageButton::Ok);  // the start-up message
    window.startUp();
    window.show();
    QCoreApplication::processEvents();
    window.actions().fileOpen->trigger();
    Register& reg = window.Grid();
    if (reg.rows() != kDeposits + 2 || !messages.answers.empty())
        qFatal("open gave %d rows", reg.rows());
    messages.asked.clear();
    QCoreApplication::processEvents();

    std::function<void()> run;
    std::function<bool()> done;
    if (command == QLatin1String("add")) {
        // New, type a deposit, Add.
        modal.handlers.push_back([](QDialog& dialog) {
            auto& d = static_cast<frmTermDepositDetails&>(dialog);
            type(d.txtAccountNumber(), QStringLiteral("NEW-0000001"));
            type(d.txtInterest(), QStringLiteral("4.5"));
            type(d.txtTermYears(), QStringLiteral("3"));
            type(d.txtAccountBalance(), QStringLiteral("25000"));
            click(d.cmdAdd());
        });
        run = [&] { window.actions().newTermDeposit->trigger(); };
        done = [&] { return reg.rows() == kDeposits + 3 && reg.cell(kDeposits + 1, 0) == "NEW-0000001"; };
    } else if (command == QLatin1String("overwrite")) {
        // The last deposit selected: Edit, Add, Yes to the overwrite question.
        reg.setCurrentCell(kDeposits, 0);
        QCoreApplication::processEvents();
        messages.answers.push_back(MessageButton::Yes);
        modal.handlers.push_back(
            [](QDialog& dialog) { click(static_cast<frmTermDepositDetails&>(dialog).cmdAdd()); });
        run = [&] { window.actions().editTermDeposit->trigger(); };
        done = [&] {
            return reg.rows() == kDeposits + 2 && messages.asked.size() == 1 && reg.row() == kDeposits &&
                   window.flags().ModifiedFlag;
        };
    } else if (command == QLatin1String("search-found") || command == QLatin1String("search-absent")) {
        // Search for the last deposit in small letters, or for one not there;
        // a found deposit's details dialog is cancelled.
        const bool found = command == QLatin1String("search-found");
        const QString key = found ? accountOf(kDeposits - 1).toLower() : QStringLiteral("ZZ-NOT-THERE");
        modal.handlers.push_back([key](QDialog& dialog) {
            type(dialog.findChild<QLineEdit*>(QStringLiteral("txtLeaseNumber")), key);
            click(dialog.findChild<QAbstractButton*>(QStringLiteral("cmdOK")));
        });
        if (found) {
            modal.handlers.push_back(
                [](QDialog& dialog) { click(static_cast<frmTermDepositDetails&>(dialog).cmdCancel()); });
        } else {
            messages.answers.push_back(MessageButton::Ok);
        }
        run = [&] { window.actions().search->trigger(); };
        done = [&, found] {
            const QStringList dialogs =
                found ? QStringList{"frmSearch", "frmTermDepositDetails"} : QStringList{"frmSearch"};
            return modal.shown == dialogs && messages.asked.size() == (found ? 0 : 1) &&
                   reg.row() == kDeposits + 1;
        };
    } else {
        qFatal("no command %s", qPrintable(command));
    }

    const double time = bench::seconds([&] {
        run();
        QCoreApplication::processEvents();
        window.gridView()->viewport()->repaint();
    });
    if (!done())
        qFatal("%s did not do what a user expects", qPrintable(command));
    return time;
}

// Runs this program again to measure one thing in a fresh process.
double inFreshProcess(const QString& what, const QString& path)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--measure"), what, path});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        qFatal("measuring %s failed", qPrintable(what));
    bool ok = false;
    const double seconds = child.readAllStandardOutput().trimmed().toDouble(&ok);
    if (!ok)
        qFatal("measuring %s gave no figure", qPrintable(what));
    return seconds;
}

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--measure")) {
        const double time = args[2] == QLatin1String("fresh-read") ? bench::freshRead(args[3])
                                                                   : measureCommand(args[2], args[3]);
        std::printf("%.9f\n", time);
        return 0;
    }

    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-commands-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("million.tmd"));
    bench::writeRealisticFile(path, kDeposits);

    const double fresh = inFreshProcess(QStringLiteral("fresh-read"), path);
    const double add = inFreshProcess(QStringLiteral("add"), path);
    const double overwrite = inFreshProcess(QStringLiteral("overwrite"), path);
    const double found = inFreshProcess(QStringLiteral("search-found"), path);
    const double absent = inFreshProcess(QStringLiteral("search-absent"), path);

    bench::report("add_1m_ratio_vs_fresh_read", add / fresh);
    bench::report("overwrite_1m_ratio_vs_fresh_read", overwrite / fresh);
    bench::report("search_1m_ratio_vs_fresh_read", std::max(found, absent) / fresh);
    std::printf(
        "# fresh read %.1f ms, add %.1f ms, overwrite %.1f ms, search found %.1f ms, absent %.1f ms\n",
        fresh * 1e3, add * 1e3, overwrite * 1e3, found * 1e3, absent * 1e3);
    return 0;
}
