#pragma once

#include "core/date_form.h"

#include <QDate>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class QDialog;

namespace td {

// The seams between the windows and the outside world. Windows receive a
// Platform in their constructor; production passes the Qt implementations
// (qt_platform.h), tests pass recording fakes.

// Shown as the title of message boxes that have none of their own.
QString programTitle();

enum class MessageIcon { Information, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageButton { Ok, Yes, No };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // An empty title shows the program's title.
    virtual MessageButton ask(const QString& title, const QString& text, MessageIcon icon,
                              MessageButtons buttons) = 0;
};

struct FileDialogSettings {
    QString defaultSuffix;  // added to a name typed without an extension
    QString filter;         // a single filter entry
    QString initialPath;    // the dialog starts on this file
    QString title{};        // the dialog's title; empty: the toolkit's own ("Open", "Save As")
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen full path, or nothing when the user cancelled. Neither dialog
    // insists that the file exists nor asks about replacing one.
    virtual std::optional<QString> openFileName(const FileDialogSettings& settings) = 0;
    virtual std::optional<QString> saveFileName(const FileDialogSettings& settings) = 0;
};

// How far a long task has got (total is -1 when unknown); false once the user cancelled it.
using JobProgress = std::function<bool(qint64 done, qint64 total)>;

// How a preview ended: closed, or with the user asking to print what it showed.
enum class PreviewEnd { Closed, Print, Failed };

class Printer {
public:
    virtual ~Printer() = default;
    // Shows the printer dialog; false when the user cancelled it.
    virtual bool choosePrinter() = 0;
    // Starts a job on the chosen printer; false (see errorString) if it cannot.
    virtual bool beginJob() = 0;
    virtual void setFontSize(double points) = 0;
    virtual bool printLine(const QString& line) = 0;
    virtual bool newPage() = 0;
    // Sends the job's pages to the printer. A long job tells progress how
    // far it has got; a false answer cancels it: nothing reaches the printer
    // or the file, and cancelled() is true.
    virtual bool endJob(const JobProgress& progress = {}) = 0;
    virtual bool cancelled() const = 0;
    // Drops the pages of a job that failed part-way.
    virtual void abortJob() = 0;
    // For a preview of a listing too long to show whole: the listing goes on
    // here with `count` pages, each laid out as the page before this mark
    // was. The preview counts them, and the pages after the mark, among the
    // listing's pages, but shows only those before it.
    virtual void leaveOutPages(qint64 count) = 0;
    // Ends the job by showing its pages in a print preview instead of
    // printing them; returns when the preview is closed.
    virtual PreviewEnd previewJob() = 0;
    virtual QString errorString() const = 0;
};

// The screen-wide mouse pointer doubles as the program's busy state.
enum class Pointer { Default = 0, Hourglass = 11 };

class BusyPointer {
public:
    virtual ~BusyPointer() = default;
    virtual Pointer pointer() const = 0;
    virtual void setPointer(Pointer pointer) = 0;
    bool isBusy() const { return pointer() == Pointer::Hourglass; }
};

class ModalDisplay {
public:
    virtual ~ModalDisplay() = default;
    // Shows the dialog modally and returns when it is closed (QDialog::exec in production).
    virtual int runModal(QDialog& dialog) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
};

class Screen {
public:
    virtual ~Screen() = default;
    virtual QSize sizePixels() const = 0;
};

// The progress of a long load or save. Nothing shows while a task is short
// (the busy pointer says enough); one that runs past about half a second
// shows its progress and a way to cancel it.
class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    virtual void begin(const QString& text) = 0;
    // How much is done (total is -1 when unknown); false once the user cancelled.
    virtual bool advance(qint64 done, qint64 total) = 0;
    virtual void end() = 0;
};

// A desktop notification: a note the desktop shows for a while, with at
// most one action the user may choose from it.
struct Notification {
    QString summary;
    QString body;
    QString actionLabel;  // the caption of its action; none when empty
};

class Notifications {
public:
    virtual ~Notifications() = default;
    // Hands the notification to the desktop and returns at once. Where the
    // desktop shows none, nothing happens and nothing is reported;
    // `onAction` runs if the user chooses the notification's action.
    virtual void post(const Notification& notification, std::function<void()> onAction) = 0;
};

struct Platform {
    MessageBoxes& messages;
    FileDialogs& files;
    Printer& printer;
    BusyPointer& pointer;
    ModalDisplay& modal;
    Clock& clock;
    Screen& screen;
    ProgressDisplay& progress;
    DateForm dateForm;  // the short date form, fixed at start-up
    Notifications& notifications;
};

// Restores the default pointer when a command ends, however it ends.
class BusyScope {
public:
    explicit BusyScope(BusyPointer& pointer) : m_pointer(pointer)
    {
        m_pointer.setPointer(Pointer::Hourglass);
    }
    ~BusyScope() { m_pointer.setPointer(Pointer::Default); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    BusyPointer& m_pointer;
};

// Shows the progress of one task for as long as it lives.
class ProgressScope {
public:
    ProgressScope(ProgressDisplay& display, const QString& text) : m_display(display)
    {
        m_display.begin(text);
    }
    ~ProgressScope() { m_display.end(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    bool advance(qint64 done, qint64 total) { return m_display.advance(done, total); }

private:
    ProgressDisplay& m_display;
};

}  // namespace td
