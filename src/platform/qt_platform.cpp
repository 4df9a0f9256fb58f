#include "qt_platform.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QScreen>

namespace td {

QString programTitle() { return QApplication::translate("Platform", "Term Deposit"); }

MessageButton QtMessageBoxes::ask(const QString& title, const QString& text, MessageIcon icon,
                                  MessageButtons buttons)
{
    QMessageBox box(icon == MessageIcon::Question ? QMessageBox::Question : QMessageBox::Information,
                    title.isEmpty() ? programTitle() : title, text,
                    buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No
                                                     : QMessageBox::Ok,
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

std::optional<QString> runFileDialog(const FileDialogSettings& settings, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Qt's own dialog: the program itself checks existence and asks before replacing.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(settings.defaultSuffix);
    dialog.setNameFilter(settings.filter);
    if (!settings.initialPath.trimmed().isEmpty())
        dialog.selectFile(settings.initialPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
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

QtPrinter::QtPrinter() : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

QtPrinter::~QtPrinter()
{
    if (m_painter && m_painter->isActive())
        abortJob();
}

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

bool QtPrinter::beginJob()
{
    m_error.clear();
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer.get())) {
        m_painter.reset();
        const QString target = m_printer->outputFileName().isEmpty() ? m_printer->printerName()
                                                                     : m_printer->outputFileName();
        return fail(QApplication::translate("QtPrinter", "The printer \"%1\" could not start the job.")
                        .arg(target));
    }
    m_y = 0;
    setFontSize(m_fontSize);
    return true;
}

void QtPrinter::setFontSize(double points)
{
    m_fontSize = points;
    if (!m_painter)
        return;
    QFont font = m_painter->font();
    font.setPointSizeF(points);
    m_painter->setFont(font);
}

bool QtPrinter::printLine(const QString& line)
{
    if (!m_painter)
        return fail(QApplication::translate("QtPrinter", "No print job is running."));
    const QFontMetricsF metrics(m_painter->font(), m_printer.get());
    const QRectF page = m_printer->pageLayout().paintRectPixels(m_printer->resolution());
    if (m_y > 0 && m_y + metrics.height() > page.height() && !newPage())
        return false;
    m_painter->drawText(QPointF(0, m_y + metrics.ascent()), line);
    m_y += metrics.lineSpacing();
    if (m_printer->printerState() == QPrinter::Error)
        return fail(QApplication::translate("QtPrinter", "The printer reported an error."));
    return true;
}

bool QtPrinter::newPage()
{
    if (!m_painter)
        return fail(QApplication::translate("QtPrinter", "No print job is running."));
    if (!m_printer->newPage())
        return fail(QApplication::translate("QtPrinter", "The printer could not start a new page."));
    m_y = 0;
    return true;
}

bool QtPrinter::endJob()
{
    if (!m_painter)
        return fail(QApplication::translate("QtPrinter", "No print job is running."));
    const bool ended = m_painter->end();
    m_painter.reset();
    if (!ended || m_printer->printerState() == QPrinter::Error)
        return fail(QApplication::translate("QtPrinter", "The printer could not finish the job."));
    return true;
}

void QtPrinter::abortJob()
{
    m_printer->abort();
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
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

QtPlatform::QtPlatform()
    : m_platform{m_messages, m_files,  m_printer, m_pointer,
                 m_modal,    m_clock,  m_screen,  DateForm::fromLocale(QLocale::system())}
{
}

}  // namespace td
