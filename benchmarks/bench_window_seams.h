#pragma once

// The main window in a fresh process as a user runs it, with the real Qt
// seams but for the answers nobody is at the screen to give: the file
// dialogs answer with a path, and a modal dialog is worked by a function of
// the benchmark, as a user would. Past the start-up message only the
// messages a benchmark scripted may come: any other ends the run.
#include "app/widgets/look.h"
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "platform/qt_platform.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QStandardPaths>
#include <ctime>
#include <deque>
#include <functional>
#include <optional>

namespace td::bench {

// Past the start-up message each message takes the next of `answers`, or,
// for a question, `everyQuestion` when set; any other ends the run.
class ScriptedMessages final : public MessageBoxes {
public:
    MessageButton ask(const QString& title, const QString& text, MessageIcon, MessageButtons buttons) override
    {
        if (!started)
            return MessageButton::Ok;
        asked << text;
        if (!answers.empty()) {
            const MessageButton answer = answers.front();
            answers.pop_front();
            return answer;
        }
        if (everyQuestion && buttons == MessageButtons::YesNo)
            return *everyQuestion;
        qFatal("unexpected message \"%s\": %s", qPrintable(title), qPrintable(text));
    }
    bool started = false;
    std::deque<MessageButton> answers;
    std::optional<MessageButton> everyQuestion;
    QStringList asked;
};

class ChosenFiles final : public FileDialogs {
public:
    std::optional<QString> openFileName(const FileDialogSettings&) override { return openPath; }
    std::optional<QString> saveFileName(const FileDialogSettings&) override { return savePath; }
    QString openPath;
    QString savePath;
};

// Shows each dialog and runs the next handler on it; a dialog the handler
// leaves open is closed.
class ScriptedModal final : public ModalDisplay {
public:
    int runModal(QDialog& dialog) override
    {
        shown << dialog.objectName();
        dialog.show();
        QCoreApplication::processEvents();
        if (!handlers.empty()) {
            auto handler = std::move(handlers.front());
            handlers.pop_front();
            handler(dialog);
        }
        if (dialog.isVisible())
            dialog.reject();
        return dialog.result();
    }
    std::deque<std::function<void(QDialog&)>> handlers;
    QStringList shown;
};

// The clock and the processor time of the whole process (every thread), now.
struct Clocks {
    double wall = 0;
    double processor = 0;

    static Clocks now()
    {
        timespec wall{};
        timespec processor{};
        clock_gettime(CLOCK_MONOTONIC, &wall);
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &processor);
        return {double(wall.tv_sec) + double(wall.tv_nsec) / 1e9,
                double(processor.tv_sec) + double(processor.tv_nsec) / 1e9};
    }
    Clocks operator-(const Clocks& earlier) const
    {
        return {wall - earlier.wall, processor - earlier.processor};
    }
};

// The program's progress display, which also notes when the last progress
// ended: where a command's long pass is done.
class NotedProgress final : public ProgressDisplay {
public:
    void begin(const QString& text) override { shown.begin(text); }
    bool advance(qint64 done, qint64 total) override { return shown.advance(done, total); }
    void end() override
    {
        shown.end();
        lastEnd = Clocks::now();
    }
    Clocks lastEnd;

private:
    QtProgressDisplay shown;
};

// The files a run opens and saves stay out of the user's recent files: set
// before the window first reads its settings.
struct TestSettings {
    TestSettings() { QStandardPaths::setTestModeEnabled(true); }
};

struct WindowWorld {
    TestSettings settings;
    ScriptedMessages messages;
    ChosenFiles files;
    QtPrinter printer;
    QtBusyPointer pointer;
    ScriptedModal modal;
    QtClock clock;
    QtScreen screen;
    NotedProgress progress;
    QtNotifications notifications;
    Platform platform{messages,     files,    printer,
                      pointer,      modal,    clock,
                      screen,       progress, DateForm::fromLocale(QLocale::c()),
                      notifications};
    frmTermDeposit window{platform};

    // The file dialogs answer with `path`, if given.
    explicit WindowWorld(const QString& path = {})
    {
        files.openPath = path;
        files.savePath = path;
        window.startUp();
        messages.started = true;
        window.show();
        QCoreApplication::processEvents();
    }

    // File > Open of the file, as the user chose it in the Open dialog.
    void open(const QString& path)
    {
        files.openPath = path;
        open();
    }
    // File > Open of the file the dialogs answer with.
    void open()
    {
        window.actions().fileOpen->trigger();
        QCoreApplication::processEvents();
        if (window.Grid().rows() < 3)
            qFatal("open of %s showed no deposit", qPrintable(files.openPath));
    }
};

// The highest resident memory of this process since the last resetPeak().
inline long long peakResidentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}

// Starts the peak over from the memory resident now (Linux 4.0 and later).
inline void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1)
        qWarning("the peak of resident memory cannot be reset here");
}

}  // namespace td::bench
