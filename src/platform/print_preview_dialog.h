#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPrintPreviewWidget;
class QPrinter;
class QPushButton;
class QSpinBox;

namespace td {

// The pages a listing would print, before it is printed. A long listing is
// shown by its first pages only, with a line that says how many pages it has
// in all and that Print prints every one of them: the preview paints each
// page it shows into memory, and a listing of hundreds of thousands of pages
// would not fit there.
class PrintPreviewDialog : public QDialog {
    Q_OBJECT

public:
    // What a painting of the preview did: false when it failed; else how
    // many pages the whole listing has, those not painted included.
    struct Painted {
        bool ok = false;
        qint64 pagesInAll = 0;
    };
    // Paints the pages to show on the preview's printer (again whenever the
    // page layout changes).
    using Paint = std::function<Painted(QPrinter& target)>;

    PrintPreviewDialog(QPrinter& printer, Paint paint, QWidget* parent = nullptr);

    // Whether the user closed the preview with Print.
    bool printAsked() const { return m_printAsked; }
    // Whether every painting of the preview succeeded.
    bool paintedWell() const { return m_paintedWell; }

    QPrintPreviewWidget* pages() const { return m_pages; }
    QLabel* extentLabel() const { return m_extent; }
    QPushButton* printButton() const { return m_print; }

private:
    void paintPages(QPrinter* target);
    void showCurrentPage();

    Paint m_paint;
    QPrintPreviewWidget* m_pages = nullptr;
    QSpinBox* m_page = nullptr;
    QLabel* m_pageCount = nullptr;
    QLabel* m_extent = nullptr;
    QPushButton* m_print = nullptr;
    qint64 m_pagesInAll = 0;
    bool m_printAsked = false;
    bool m_paintedWell = true;
};

}  // namespace td
