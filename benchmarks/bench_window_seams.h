#pragma once

// The main window in a fresh process as a user runs it, with the real Qt
// seams but for the answers nobody is at the screen to give: the file
// dialogs answer with a path, and a modal dialog is worked by a function of
// the benchmark, as a user would. Past the start-up message no message box
// is expected: one ends the run.
#include "app/widgets/look.h"
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "platform/qt_platform.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <deque>
#include <functional>

namespace td::bench {

class NoMessages final : public MessageBoxes {
public:
    MessageButton ask(const QString& title, const QString& text, MessageIcon, MessageButtons) override
    {
        if (!started)
            return MessageButton::Ok;
        qFatal("unexpected message \"%s\": %s", qPrintable(title), qPrintable(text));
    }
    bool started = false;
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
};

struct WindowWorld {
    NoMessages messages;
    ChosenFiles files;
    QtPrinter printer;
    QtBusyPointer pointer;
    ScriptedModal modal;
    QtClock clock;
    QtScreen screen;
    QtProgressDisplay progress;
    QtNotifications notifications;
    Platform platform{messages,     files,    printer,
                      pointer,      modal,    clock,
                      screen,       progress, DateForm::fromLocale(QLocale::c()),
                      notifications};
    frmTermDeposit window{platform};

    WindowWorld()
    {
        window.startUp();
        messages.started = true;
        window.show();
        QCoreApplication::processEvents();
    }

    // File > Open of the file, as the user chose it in the Open dialog.
    void open(const QString& path)
    {
        files.openPath = path;
        window.actions().fileOpen->trigger();
        QCoreApplication::processEvents();
        if (window.Grid().rows() < 3)
            qFatal("open of %s showed no deposit", qPrintable(path));
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
