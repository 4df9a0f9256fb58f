#include "qt_platform.h"

#include "print_preview_dialog.h"
#include "printed_pages.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QSaveFile>
#include <QScreen>

namespace td {

QString programTitle() { return QApplication::translate("Platform", "Term Deposit"); }

MessageButton QtMessageBoxes::ask(const QString& title, const QString& text, MessageIcon icon,
                                  MessageButtons buttons)
{
    QMessageBox box(icon == MessageIcon::Question ? QMessageBox::Question : QMessageBox::Information,
                    title.isEmpty() ? programTitle() : title, text,
                    buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    QApplication::activeWindow());
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageButton::Yes;
    case QMessageBox::No:
        return MessageButton::No;
    default:
        return buttons == MessageButtons::YesNo ? MessageButton::No : MessageButton::Ok;
    }
}

namespace {

// The file the user chose: an existing one exactly as named; a new name
// typed for a save without an extension gets the default suffix.
QString chosenFileName(const QString& chosen, const QString& defaultSuffix, bool forSave)
{
    const QFileInfo file(chosen);
    if (!forSave || defaultSuffix.isEmpty() || file.exists() || file.isSymLink() ||
        file.fileName().contains(QLatin1Char('.')))
        return chosen;
    return chosen + QLatin1Char('.') + defaultSuffix;
}

std::optional<QString> runFileDialog(const FileDialogSettings& settings, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Qt's own dialog: the program itself checks existence and asks before replacing.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    // The default suffix is added here, not by the dialog: the dialog would
    // add it to an existing file chosen without one ("registertmd") and so
    // open or replace another file.
    dialog.setNameFilter(settings.filter);
    if (!settings.title.isEmpty())
        dialog.setWindowTitle(settings.title);
    if (!settings.initialPath.trimmed().isEmpty())
        dialog.selectFile(settings.initialPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return chosenFileName(dialog.selectedFiles().constFirst(), settings.defaultSuffix,
                          mode == QFileDialog::AcceptSave);
}

}  // namespace

std::optional<QString> QtFileDialogs::openFileName(const FileDialogSettings& settings)
{
    return runFileDialog(settings, QFileDialog::AcceptOpen);
}

std::optional<QString> QtFileDialogs::saveFileName(const FileDialogSettings& settings)
{
    return runFileDialog(settings, QFileDialog::AcceptSave);
}

namespace {

// What the spool holds, one record after another. A line is held in UTF-8.
enum class SpoolRecord : quint8 { FontSize, Line, NewPage, LeaveOut };

QString printerText(const char* text) { return QApplication::translate("QtPrinter", text); }

// A job's progress: laying out its pages is the first half, painting them the second.
constexpr qint64 kJobSteps = 1000;
constexpr qint64 kLaidOutSteps = kJobSteps / 2;
// The spool is read this many bytes at a time between two reports.
constexpr qint64 kSpoolBytesPerReport = 1 << 20;

}  // namespace

QtPrinter::QtPrinter() = default;

QtPrinter::~QtPrinter() { dropSpool(); }

bool QtPrinter::choosePrinter()
{
    QPrintDialog dialog(m_printer.get(), QApplication::activeWindow());
    // The dialog offers only what paintLines honours: a page range, copies
    // and their collation, the page order, the page set-up and a file.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrinter::fail(const QString& reason)
{
    m_error = reason;
    return false;
}

QString QtPrinter::targetName() const
{
    return m_printer->outputFileName().isEmpty() ? m_printer->printerName() : m_printer->outputFileName();
}

bool QtPrinter::spooled()
{
    if (m_out.status() == QDataStream::Ok)
        return true;
    dropSpool();
    return fail(printerText("The print job could not be stored on its way to the printer."));
}

bool QtPrinter::beginJob()
{
    dropSpool();
    m_error.clear();
    m_cancelled = false;
    // A file that cannot be written is reported now, before anything is spooled.
    const QString fileName = m_printer->outputFileName();
    if (!fileName.isEmpty()) {
        const QFileInfo file(fileName);
        const QFileInfo folder(file.absolutePath());
        if (!folder.isDir() || !folder.isWritable() || (file.exists() && !file.isWritable()))
            return fail(printerText("The file \"%1\" cannot be written.").arg(fileName));
    }
    m_spool = std::make_unique<QTemporaryFile>();
    if (!m_spool->open()) {
        const QString reason = m_spool->errorString();
        m_spool.reset();
        return fail(printerText("The print job could not be started: %1").arg(reason));
    }
    m_out.setDevice(m_spool.get());
    m_out.resetStatus();
    if (m_fontSize)
        m_out << SpoolRecord::FontSize << *m_fontSize;
    return spooled();
}

void QtPrinter::setFontSize(double points)
{
    m_fontSize = points;
    if (m_spool)
        m_out << SpoolRecord::FontSize << points;
}

bool QtPrinter::printLine(const QString& line)
{
    if (!m_spool)
        return fail(printerText("No print job is running."));
    m_out << SpoolRecord::Line << line.toUtf8();
    return spooled();
}

bool QtPrinter::newPage()
{
    if (!m_spool)
        return fail(printerText("No print job is running."));
    m_out << SpoolRecord::NewPage;
    return spooled();
}

void QtPrinter::leaveOutPages(qint64 count)
{
    if (m_spool)
        m_out << SpoolRecord::LeaveOut << count;
}

bool QtPrinter::advance(qint64 done)
{
    if (!m_progress || m_progress(done, kJobSteps))
        return true;
    m_cancelled = true;
    return fail(printerText("The printing was cancelled."));
}

// The finished spool, read back from its start; nothing when no job runs or it cannot be read.
std::unique_ptr<QTemporaryFile> QtPrinter::takeSpool()
{
    if (!m_spool) {
        fail(printerText("No print job is running."));
        return nullptr;
    }
    std::unique_ptr<QTemporaryFile> spool = std::move(m_spool);
    m_out.setDevice(nullptr);
    if (!spool->flush() || !spool->seek(0)) {
        fail(printerText("The print job could not be read back: %1").arg(spool->errorString()));
        return nullptr;
    }
    return spool;
}

bool QtPrinter::endJob(const JobProgress& progress)
{
    m_cancelled = false;
    m_progress = progress;
    const std::unique_ptr<QTemporaryFile> spool = takeSpool();
    const bool printed = spool && paintSpool(*spool);
    m_progress = {};
    forgetJobChoices();
    return printed;
}

// The preview paints the same spool as the printer would, each time it asks
// (at opening and on a change of the page layout); Print in it ends the
// preview and leaves the printing to the command.
PreviewEnd QtPrinter::previewJob()
{
    m_cancelled = false;
    const std::unique_ptr<QTemporaryFile> spool = takeSpool();
    if (!spool)
        return PreviewEnd::Failed;
    PrintPreviewDialog dialog(
        *m_printer,
        [&](QPrinter& target) {
            PrintPreviewDialog::Painted painted;
            painted.ok =
                spool->seek(0) &&
                paintLines(
                    target, target.resolution(), *spool, target,
                    [this, &target] {
                        return target.printerState() == QPrinter::Error
                                   ? printerText("The printer \"%1\" reported an error.").arg(targetName())
                                   : QString();
                    },
                    [&target] { target.abort(); }, &painted.pagesInAll);
            return painted;
        },
        QApplication::activeWindow());
    dialog.exec();
    forgetJobChoices();
    if (!dialog.paintedWell())
        return PreviewEnd::Failed;
    return dialog.printAsked() ? PreviewEnd::Print : PreviewEnd::Closed;
}

bool QtPrinter::paintSpool(QIODevice& spool)
{
    if (!m_printer->outputFileName().isEmpty())
        return printToFile(spool, m_printer->outputFileName());
    const bool painted = paintLines(
        *m_printer, m_printer->resolution(), spool, *m_printer,
        [this] {
            return m_printer->printerState() == QPrinter::Error
                       ? printerText("The printer \"%1\" reported an error.").arg(targetName())
                       : QString();
        },
        [this] { m_printer->abort(); });
    if (!painted)
        return false;
    if (m_printer->printerState() == QPrinter::Error)
        return fail(printerText("The printer \"%1\" could not finish the job.").arg(targetName()));
    return true;
}

// The toolkit's PDF writer does not report a write that fails, so a listing
// printed to a file is written through a device that does: a new file beside
// the old one that takes its place only when complete, as a deposit file is
// saved. A device or a pipe cannot be replaced and is written in place.
bool QtPrinter::printToFile(QIODevice& spool, const QString& fileName)
{
    const QFileInfo target(fileName);
    const bool replaceable = !target.exists() || target.isFile();
    std::unique_ptr<QFileDevice> file;
    if (replaceable)
        file = std::make_unique<QSaveFile>(fileName);
    else
        file = std::make_unique<QFile>(fileName);
    auto writeFailure = [&] {
        return printerText("The file \"%1\" could not be written: %2").arg(fileName, file->errorString());
    };
    if (!file->open(QIODevice::WriteOnly))
        return fail(writeFailure());
    bool written = false;
    {
        QPdfWriter pdf(file.get());
        pdf.setPageLayout(m_printer->pageLayout());
        pdf.setResolution(m_printer->resolution());
        pdf.setCreator(m_printer->creator());
        pdf.setTitle(m_printer->docName());
        // A failed listing is dropped below, with the new file.
        written = paintLines(
            pdf, m_printer->resolution(), spool, *m_printer,
            [&] { return file->error() != QFileDevice::NoError ? writeFailure() : QString(); }, [] {});
    }
    if (written && (!file->flush() || file->error() != QFileDevice::NoError))
        written = fail(writeFailure());
    if (auto* save = qobject_cast<QSaveFile*>(file.get())) {
        if (!written) {
            save->cancelWriting();
            return false;
        }
        if (!save->commit())
            return fail(writeFailure());
        return true;
    }
    file->close();
    if (written && file->error() != QFileDevice::NoError)
        return fail(writeFailure());
    return written;
}

// The pages as the listing makes them: a new page where it asks for one or
// where a line no longer fits. A page break makes a page only when a line
// follows, so no empty page ends the job. Pages left out for a preview, and
// those after them, are counted but not kept.
bool QtPrinter::layOutPages(const QPaintDevice& device, double pageHeight, QIODevice& spool, Layout& layout)
{
    QFont font;
    std::optional<double> fontSize;
    QFontMetricsF metrics(font, &device);  // of the font in use: a listing has few sizes, and many lines
    double y = 0;
    bool breakPending = false;
    bool leftOut = false;   // past a mark of pages left out
    qint64 pageOpened = 0;  // the page that the listing's last page break opened
    qint64 reportedAt = 0;
    const qint64 size = std::max<qint64>(1, spool.size());
    QDataStream in(&spool);
    while (!in.atEnd()) {
        const qint64 offset = spool.pos();
        if (offset - reportedAt >= kSpoolBytesPerReport) {
            reportedAt = offset;
            if (!advance(offset * kLaidOutSteps / size))
                return false;
        }
        SpoolRecord kind;
        in >> kind;
        switch (kind) {
        case SpoolRecord::FontSize: {
            double points = 0;
            in >> points;
            if (fontSize != points) {
                font.setPointSizeF(points);
                metrics = QFontMetricsF(font, &device);
            }
            fontSize = points;
            break;
        }
        case SpoolRecord::NewPage:
            breakPending = true;
            break;
        case SpoolRecord::LeaveOut: {
            qint64 count = 0;
            in >> count;
            // Each left out like the listing's page before the mark, however many sheets that took.
            layout.pagesInAll += std::max<qint64>(0, count) * (layout.pagesInAll - pageOpened);
            leftOut = true;
            breakPending = true;
            break;
        }
        case SpoolRecord::Line: {
            QByteArray line;
            in >> line;
            const bool first = layout.pagesInAll == 0;
            if (first || breakPending || (y > 0 && y + metrics.height() > pageHeight)) {
                if (first || breakPending)
                    pageOpened = layout.pagesInAll;
                if (!leftOut)
                    layout.pages.append({offset, fontSize});
                ++layout.pagesInAll;
                y = 0;
                breakPending = false;
            }
            y += metrics.lineSpacing();
            break;
        }
        default:
            in.setStatus(QDataStream::ReadCorruptData);
            break;
        }
        if (in.status() != QDataStream::Ok)
            return fail(printerText("The print job could not be read back."));
    }
    return true;
}

bool QtPrinter::paintLines(QPagedPaintDevice& device, int resolution, QIODevice& spool,
                           const QPrinter& settings, const std::function<QString()>& deviceFailure,
                           const std::function<void()>& abort, qint64* pagesInAll)
{
    Layout layout;
    if (!layOutPages(device, device.pageLayout().paintRectPixels(resolution).height(), spool, layout))
        return false;
    if (pagesInAll)
        *pagesInAll = layout.pagesInAll;
    else if (layout.pagesInAll != layout.pages.size())
        return fail(printerText("The print job could not be read back."));  // a preview's job, never printed
    const QList<PageStart>& starts = layout.pages;
    const PrintedPages printed = printedPages(settings, int(starts.size()));
    if (!starts.isEmpty() && printed.pages.isEmpty())
        return fail(printerText("None of the pages chosen is in the listing: it ends on page %1.")
                        .arg(starts.size()));
    QPainter painter;
    if (!painter.begin(&device))
        return fail(printerText("The printer \"%1\" could not start the job.").arg(targetName()));
    for (qint64 place = 0; place < printed.count(); ++place) {
        const int index = printed.at(place) - 1;
        const qint64 end = index + 1 < starts.size() ? starts.at(index + 1).offset : spool.size();
        bool ok = advance(kLaidOutSteps + place * (kJobSteps - kLaidOutSteps) / printed.count());
        if (ok && place > 0 && !device.newPage())
            ok = fail(printerText("The printer could not start a new page."));
        if (!ok || !paintPage(painter, device, spool, starts.at(index), end, deviceFailure)) {
            abort();
            painter.end();
            return false;
        }
    }
    if (!painter.end())
        return fail(printerText("The printer \"%1\" could not finish the job.").arg(targetName()));
    const QString failure = deviceFailure();
    return failure.isEmpty() || fail(failure);
}

// One page of the listing from the top of the printable area (the painter's
// origin), each line at the left edge in the default face at its point size.
bool QtPrinter::paintPage(QPainter& painter, const QPaintDevice& device, QIODevice& spool,
                          const PageStart& start, qint64 end, const std::function<QString()>& deviceFailure)
{
    QFont font;
    if (start.fontSize)
        font.setPointSizeF(*start.fontSize);
    painter.setFont(font);
    if (!spool.seek(start.offset))
        return fail(printerText("The print job could not be read back."));
    QDataStream in(&spool);
    double y = 0;
    while (spool.pos() < end) {
        SpoolRecord kind;
        in >> kind;
        switch (kind) {
        case SpoolRecord::FontSize: {
            double points = 0;
            in >> points;
            font.setPointSizeF(points);
            painter.setFont(font);
            break;
        }
        case SpoolRecord::NewPage:  // the pages are laid out already
            break;
        case SpoolRecord::LeaveOut:  // ends the last page a preview shows
            return true;
        case SpoolRecord::Line: {
            QByteArray line;
            in >> line;
            const QFontMetricsF metrics(font, &device);
            painter.drawText(QPointF(0, y + metrics.ascent()), QString::fromUtf8(line));
            y += metrics.lineSpacing();
            break;
        }
        default:
            in.setStatus(QDataStream::ReadCorruptData);
            break;
        }
        const QString failure = in.status() != QDataStream::Ok
                                    ? printerText("The print job could not be read back.")
                                    : deviceFailure();
        if (!failure.isEmpty())
            return fail(failure);
    }
    return true;
}

void QtPrinter::dropSpool()
{
    m_out.setDevice(nullptr);
    m_spool.reset();  // removes the spool file: nothing reaches the printer
}

void QtPrinter::abortJob()
{
    dropSpool();
    forgetJobChoices();
}

// A page range and copies are chosen for one listing: the next print and a
// preview start again from one copy of every page.
void QtPrinter::forgetJobChoices()
{
    m_printer->setPrintRange(QPrinter::AllPages);
    m_printer->setFromTo(0, 0);
    m_printer->setCopyCount(1);
}

void QtBusyPointer::setPointer(Pointer pointer)
{
    if (pointer == m_pointer)
        return;
    if (pointer == Pointer::Hourglass)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
    m_pointer = pointer;
}

int QtModalDisplay::runModal(QDialog& dialog) { return dialog.exec(); }

QSize QtScreen::sizePixels() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}

namespace {

constexpr qint64 kProgressShownAfterMs = 500;
constexpr int kProgressSteps = 1000;

}  // namespace

QtProgressDisplay::QtProgressDisplay() = default;

QtProgressDisplay::~QtProgressDisplay() = default;

void QtProgressDisplay::begin(const QString& text)
{
    m_text = text;
    m_dialog.reset();
    m_started.start();
}

bool QtProgressDisplay::advance(qint64 done, qint64 total)
{
    if (!m_dialog) {
        if (m_started.elapsed() < kProgressShownAfterMs)
            return true;
        m_dialog = std::make_unique<QProgressDialog>(m_text, QProgressDialog::tr("Cancel"), 0, kProgressSteps,
                                                     QApplication::activeWindow());
        m_dialog->setObjectName(QStringLiteral("ProgressDialog"));
        m_dialog->setWindowTitle(programTitle());
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setAutoReset(false);
        m_dialog->setAutoClose(false);
        m_dialog->setMinimumDuration(0);
        m_dialog->show();
    }
    if (total > 0)
        m_dialog->setValue(int(qBound<qint64>(0, done * kProgressSteps / total, qint64(kProgressSteps - 1))));
    else
        m_dialog->setRange(0, 0);  // a moving bar: how much is left is unknown
    // The dialog is modal: only its Cancel button takes input meanwhile.
    QCoreApplication::processEvents();
    return !m_dialog->wasCanceled();
}

void QtProgressDisplay::end() { m_dialog.reset(); }

QtPlatform::QtPlatform()
    : m_platform{m_messages,     m_files,    m_printer,
                 m_pointer,      m_modal,    m_clock,
                 m_screen,       m_progress, DateForm::fromLocale(QLocale::system()),
                 m_notifications}
{
}

}  // namespace td
