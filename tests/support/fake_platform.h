#pragma once

#include "platform/platform.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

namespace td::test {

struct RecordedMessage {
    QString title;
    QString text;
    MessageIcon icon;
    MessageButtons buttons;

    // Messages compare whole, so a test states the box it expects at once.
    bool operator==(const RecordedMessage&) const = default;
};

// How QCOMPARE shows a message that is not the one expected.
char* toString(const RecordedMessage& message);

// Records every message box and answers from a queue (OK, or No when the queue is empty).
class FakeMessageBoxes final : public MessageBoxes {
public:
    MessageButton ask(const QString& title, const QString& text, MessageIcon icon,
                      MessageButtons buttons) override;

    QList<RecordedMessage> asked;
    std::deque<MessageButton> answers;
    // Runs inside ask(), before it returns: lets a test look at the world at that moment.
    std::function<void(const RecordedMessage&)> onAsk;
};

struct RecordedFileDialog {
    bool save;
    FileDialogSettings settings;
};

// Answers file dialogs from a queue; an empty queue or nullopt means cancelled.
class FakeFileDialogs final : public FileDialogs {
public:
    std::optional<QString> openFileName(const FileDialogSettings& settings) override;
    std::optional<QString> saveFileName(const FileDialogSettings& settings) override;

    QList<RecordedFileDialog> requests;
    std::deque<std::optional<QString>> answers;
};

struct PrintEvent {
    enum Kind { Choose, Begin, FontSize, Line, NewPage, End, Abort, Preview, LeaveOut } kind;
    QString text;
    double fontSize = 0;
    qint64 count = 0;  // of the pages left out
};

// Records the print job; pages() gives the printed lines page by page.
class FakePrinter final : public Printer {
public:
    bool choosePrinter() override;
    bool beginJob() override;
    void setFontSize(double points) override;
    bool printLine(const QString& line) override;
    bool newPage() override;
    // Reports its progress once when given one; a cancel drops the job as abortJob does.
    bool endJob(const JobProgress& progress = {}) override;
    bool cancelled() const override { return wasCancelled; }
    void abortJob() override;
    void leaveOutPages(qint64 count) override;
    PreviewEnd previewJob() override;
    QString errorString() const override { return error; }

    QList<QStringList> pages() const;  // of ended jobs and the running one
    QStringList lines() const;

    QList<PrintEvent> events;
    bool chooseAnswer = true;
    bool beginAnswer = true;
    int failAtLine = -1;    // printLine number (0-based) that fails
    bool endAnswer = true;  // false: the job fails as it ends
    PreviewEnd previewAnswer = PreviewEnd::Closed;
    bool wasCancelled = false;
    QString error;

private:
    int m_linesPrinted = 0;
};

class FakeBusyPointer final : public BusyPointer {
public:
    Pointer pointer() const override { return current; }
    void setPointer(Pointer p) override;

    Pointer current = Pointer::Default;
    QList<Pointer> history;
};

// Runs a test-supplied function on each modal dialog, as exec() would: the
// dialog is shown and active while the function types and clicks, and
// runModal returns once it is closed (a dialog left open is rejected and noted).
class FakeModalDisplay final : public ModalDisplay {
public:
    using Handler = std::function<void(QDialog&)>;
    int runModal(QDialog& dialog) override;

    std::deque<Handler> handlers;
    QStringList shown;     // objectName of each dialog, in order
    QStringList leftOpen;  // dialogs whose handler did not close them
};

class FakeClock final : public Clock {
public:
    QDate today() const override { return date; }
    QDate date{2024, 1, 31};
};

class FakeScreen final : public Screen {
public:
    QSize sizePixels() const override { return size; }
    QSize size{1280, 1024};
};

// Records each task and how far it got; answers "cancelled" from the
// cancelAt-th report of a task on (counted from 1), never when it is 0.
class FakeProgressDisplay final : public ProgressDisplay {
public:
    void begin(const QString& text) override;
    bool advance(qint64 done, qint64 total) override;
    void end() override { ++ended; }

    QStringList tasks;  // the text of each task begun
    int reports = 0;    // reports of the last task
    qint64 lastDone = 0;
    qint64 lastTotal = 0;
    int ended = 0;
    int cancelAt = 0;
    // Runs at each report, before it is answered: lets a test act in the middle of a task.
    std::function<void(qint64 done)> onAdvance;
};

// Records each notification posted, with the action that choosing it runs.
class FakeNotifications final : public Notifications {
public:
    struct Posted {
        Notification notification;
        std::function<void()> onAction;
    };
    void post(const Notification& notification, std::function<void()> onAction) override
    {
        posted.append({notification, std::move(onAction)});
    }

    QList<Posted> posted;
};

// A fresh world for one test: every seam faked, the date form fixed
// (dd/MM/yyyy), and the preferences kept in a folder of the test process's
// own, never the user's.
class FakePlatform {
public:
    FakePlatform();
    explicit FakePlatform(const DateForm& form);
    Platform& platform() { return m_platform; }

    FakeMessageBoxes messages;
    FakeFileDialogs files;
    FakePrinter printer;
    FakeBusyPointer pointer;
    FakeModalDisplay modal;
    FakeClock clock;
    FakeScreen screen;
    FakeProgressDisplay progress;
    FakeNotifications notifications;

private:
    Platform m_platform;
};

}  // namespace td::test
