#pragma once

#include "platform.h"

#include <QPainter>
#include <QPrinter>
#include <memory>

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
// in the printer's default face at the current point size.
class QtPrinter final : public Printer {
public:
    QtPrinter();
    ~QtPrinter() override;
    bool choosePrinter() override;
    bool beginJob() override;
    void setFontSize(double points) override;
    bool printLine(const QString& line) override;
    bool newPage() override;
    bool endJob() override;
    void abortJob() override;
    QString errorString() const override { return m_error; }

    QPrinter& printer() { return *m_printer; }

private:
    bool fail(const QString& reason);

    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    double m_fontSize = 10;
    double m_y = 0;
    QString m_error;
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
    Platform m_platform;
};

}  // namespace td
