#include "qt_platform.h"

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
#include <QPrintPreviewDialog>
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

// What the spool holds, one record after another.
enum class SpoolRecord : quint8 { FontSize, Line, NewPage };

QString printerText(const char* text) { return QApplication::translate("QtPrinter", text); }

}  // namespace

QtPrinter::QtPrinter() = default;

QtPrinter::~QtPrinter() { abortJob(); }

bool QtPrinter::choosePrinter()
{
    QPrintDialog dialog(m_printer.get(), QApplication::activeWindow());
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
    abortJob();
    return fail(printerText("The print job could not be stored on its way to the printer."));
}

bool QtPrinter::beginJob()
{
    abortJob();
    m_error.clear();
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
    m_out << SpoolRecord::Line << line;
    return spooled();
}

bool QtPrinter::newPage()
{
    if (!m_spool)
        return fail(printerText("No print job is running."));
    m_out << SpoolRecord::NewPage;
    return spooled();
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

bool QtPrinter::endJob()
{
    const std::unique_ptr<QTemporaryFile> spool = takeSpool();
    return spool && paintSpool(*spool);
}

// The preview paints the same spool as the printer would, each time it asks
// (at opening, on a page set-up change, and when the user prints from it).
bool QtPrinter::previewJob()
{
    const std::unique_ptr<QTemporaryFile> spool = takeSpool();
    if (!spool)
        return false;
    QPrintPreviewDialog dialog(m_printer.get(), QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    dialog.setWindowTitle(printerText("Print Preview"));
    bool painted = true;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
        const bool ok =
            spool->seek(0) &&
            paintLines(
                *target, target->resolution(), *spool,
                [this, target] {
                    return target->printerState() == QPrinter::Error
                               ? printerText("The printer \"%1\" reported an error.").arg(targetName())
                               : QString();
                },
                [target] { target->abort(); });
        if (!ok)
            painted = false;
    });
    dialog.exec();
    return painted;
}

bool QtPrinter::paintSpool(QIODevice& spool)
{
    if (!m_printer->outputFileName().isEmpty())
        return printToFile(spool, m_printer->outputFileName());
    const bool painted = paintLines(
        *m_printer, m_printer->resolution(), spool,
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
            pdf, m_printer->resolution(), spool,
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

bool QtPrinter::paintLines(QPagedPaintDevice& device, int resolution, QIODevice& spool,
                           const std::function<QString()>& deviceFailure, const std::function<void()>& abort)
{
    QPainter painter;
    if (!painter.begin(&device))
        return fail(printerText("The printer \"%1\" could not start the job.").arg(targetName()));
    // The painter starts with the default face, made for this device's resolution.
    QFont font = painter.font();
    const double pageHeight = device.pageLayout().paintRectPixels(resolution).height();
    double y = 0;
    // A page break is made only when a line follows, so no empty page ends the job.
    bool breakPending = false;
    QDataStream in(&spool);
    while (!in.atEnd()) {
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
        case SpoolRecord::NewPage:
            breakPending = true;
            break;
        case SpoolRecord::Line: {
            QString line;
            in >> line;
            const QFontMetricsF metrics(painter.font(), &device);
            if (breakPending || (y > 0 && y + metrics.height() > pageHeight)) {
                if (!device.newPage()) {
                    abort();
                    painter.end();
                    return fail(printerText("The printer could not start a new page."));
                }
                y = 0;
                breakPending = false;
            }
            // The painter's origin is the top left corner of the printable area.
            painter.drawText(QPointF(0, y + metrics.ascent()), line);
            y += metrics.lineSpacing();
            break;
        }
        default:
            in.setStatus(QDataStream::ReadCorruptData);
            break;
        }
        QString failure = in.status() != QDataStream::Ok
                              ? printerText("The print job could not be read back.")
                              : deviceFailure();
        if (!failure.isEmpty()) {
            abort();
            painter.end();
            return fail(failure);
        }
    }
    if (!painter.end())
        return fail(printerText("The printer \"%1\" could not finish the job.").arg(targetName()));
    const QString failure = deviceFailure();
    return failure.isEmpty() || fail(failure);
}

void QtPrinter::abortJob()
{
    m_out.setDevice(nullptr);
    m_spool.reset();  // removes the spool file: nothing reaches the printer
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
    : m_platform{m_messages, m_files,    m_printer,
                 m_pointer,  m_modal,    m_clock,
                 m_screen,   m_progress, DateForm::fromLocale(QLocale::system())}
{
}

}  // namespace td
