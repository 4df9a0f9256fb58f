#pragma once

#include "platform.h"
#include "qt_notifications.h"

#include <QDataStream>
#include <QElapsedTimer>
#include <QPrinter>
#include <QTemporaryFile>
#include <functional>
#include <memory>
#include <optional>

class QPainter;
class QProgressDialog;

namespace td {

class QtMessageBoxes final : public MessageBoxes {
public:
    MessageButton ask(const QString& title, const QString& text, MessageIcon icon,
                      MessageButtons buttons) override;
};

class QtFileDialogs final : public FileDialogs {
public:
    std::optional<QString> openFileName(const FileDialogSettings& settings) override;
    std::optional<QString> saveFileName(const FileDialogSettings& settings) override;
};

// Prints through QPrinter: each line at the left edge of the printable area,
// in the default face at the current point size, a new page when asked or
// when a line no longer fits. The job is spooled to a temporary file and
// painted onto the printer only when it ends, so an aborted job sends no page
// at all (QPrinter itself cannot take back pages already painted). Its pages
// are laid out first, so that the page range, page order and copies chosen
// in the printer dialog pick whole pages of the listing; the range and the
// copies are for one job and go with it. A long job reports its progress
// while it is laid out and painted, and a cancel drops it whole.
class QtPrinter final : public Printer {
public:
    QtPrinter();
    ~QtPrinter() override;
    bool choosePrinter() override;
    bool beginJob() override;
    void setFontSize(double points) override;
    bool printLine(const QString& line) override;
    bool newPage() override;
    bool endJob(const JobProgress& progress = {}) override;
    bool cancelled() const override { return m_cancelled; }
    void abortJob() override;
    void leaveOutPages(qint64 count) override;
    PreviewEnd previewJob() override;
    QString errorString() const override { return m_error; }

    // The printer of the next job, as the printer dialog left it.
    QPrinter& printer() { return *m_printer; }

private:
    // Where a page starts in the spool, and the point size its first line is in.
    struct PageStart {
        qint64 offset = 0;
        std::optional<double> fontSize;
    };

    // The pages of a spool: where each page that can be painted starts,
    // and how many the listing has, those left out for a preview included.
    struct Layout {
        QList<PageStart> pages;
        qint64 pagesInAll = 0;
    };

    bool fail(const QString& reason);
    // Tells the progress of the running job (done of kProgressSteps); false,
    // as a failure, once the user cancelled it.
    bool advance(qint64 done);
    bool spooled();
    void dropSpool();
    void forgetJobChoices();
    bool paintSpool(QIODevice& spool);
    std::unique_ptr<QTemporaryFile> takeSpool();
    bool printToFile(QIODevice& spool, const QString& fileName);
    bool layOutPages(const QPaintDevice& device, double pageHeight, QIODevice& spool, Layout& layout);
    // Paints the spooled lines as the settings of the printer dialog choose.
    // deviceFailure() names a failure of the device (or is empty); abort()
    // drops its pages before a failed job ends.
    bool paintLines(QPagedPaintDevice& device, int resolution, QIODevice& spool, const QPrinter& settings,
                    const std::function<QString()>& deviceFailure, const std::function<void()>& abort,
                    qint64* pagesInAll = nullptr);
    bool paintPage(QPainter& painter, const QPaintDevice& device, QIODevice& spool, const PageStart& start,
                   qint64 end, const std::function<QString()>& deviceFailure);
    QString targetName() const;

    // Made when a command first needs it: making a QPrinter loads the
    // system's print support and asks it for the printers, which the
    // program's start does not need.
    class FirstUsePrinter {
    public:
        QPrinter* get() const
        {
            if (!m_printer)
                m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            return m_printer.get();
        }
        QPrinter* operator->() const { return get(); }
        QPrinter& operator*() const { return *get(); }

    private:
        mutable std::unique_ptr<QPrinter> m_printer;
    };

    FirstUsePrinter m_printer;
    std::unique_ptr<QTemporaryFile> m_spool;
    QDataStream m_out;
    std::optional<double> m_fontSize;
    QString m_error;
    JobProgress m_progress;  // of the job being painted
    bool m_cancelled = false;
};

class QtBusyPointer final : public BusyPointer {
public:
    Pointer pointer() const override { return m_pointer; }
    void setPointer(Pointer pointer) override;

private:
    Pointer m_pointer = Pointer::Default;
};

class QtModalDisplay final : public ModalDisplay {
public:
    int runModal(QDialog& dialog) override;
};

class QtClock final : public Clock {
public:
    QDate today() const override { return QDate::currentDate(); }
};

class QtScreen final : public Screen {
public:
    QSize sizePixels() const override;
};

// A QProgressDialog, made only once a task has run for half a second.
class QtProgressDisplay final : public ProgressDisplay {
public:
    QtProgressDisplay();
    ~QtProgressDisplay() override;
    void begin(const QString& text) override;
    bool advance(qint64 done, qint64 total) override;
    void end() override;

private:
    QString m_text;
    QElapsedTimer m_started;
    std::unique_ptr<QProgressDialog> m_dialog;
};

// The production world: owns one of each Qt implementation.
class QtPlatform {
public:
    QtPlatform();
    Platform& platform() { return m_platform; }

private:
    QtMessageBoxes m_messages;
    QtFileDialogs m_files;
    QtPrinter m_printer;
    QtBusyPointer m_pointer;
    QtModalDisplay m_modal;
    QtClock m_clock;
    QtScreen m_screen;
    QtProgressDisplay m_progress;
    QtNotifications m_notifications;
    Platform m_platform;
};

}  // namespace td
