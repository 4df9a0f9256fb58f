#include "print_preview_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace td {

namespace {

constexpr qreal kZoomStep = 1.25;

QPushButton* addButton(QBoxLayout& row, QWidget* parent, const QString& text, const char* name)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    row.addWidget(button);
    return button;
}

}  // namespace

PrintPreviewDialog::PrintPreviewDialog(QPrinter& printer, Paint paint, QWidget* parent)
    : QDialog(parent), m_paint(std::move(paint))
{
    setObjectName(QStringLiteral("PrintPreview"));
    setWindowTitle(tr("Print Preview"));

    m_pages = new QPrintPreviewWidget(&printer, this);
    m_pages->setObjectName(QStringLiteral("PreviewPages"));
    m_pages->setAccessibleName(tr("Pages"));
    m_pages->setZoomMode(QPrintPreviewWidget::FitToWidth);

    auto* controls = new QHBoxLayout;
    m_print = addButton(*controls, this, tr("&Print ..."), "cmdPreviewPrint");
    controls->addSpacing(12);
    auto* pageCaption = new QLabel(tr("Pa&ge"), this);
    m_page = new QSpinBox(this);
    m_page->setObjectName(QStringLiteral("PreviewPage"));
    m_page->setAccessibleName(tr("Page"));
    pageCaption->setBuddy(m_page);
    m_pageCount = new QLabel(this);
    m_pageCount->setObjectName(QStringLiteral("PreviewPageCount"));
    controls->addWidget(pageCaption);
    controls->addWidget(m_page);
    controls->addWidget(m_pageCount);
    controls->addSpacing(12);
    QPushButton* zoomIn = addButton(*controls, this, tr("Zoom &In"), "cmdZoomIn");
    QPushButton* zoomOut = addButton(*controls, this, tr("Zoom &Out"), "cmdZoomOut");
    QPushButton* fitWidth = addButton(*controls, this, tr("Fit &Width"), "cmdFitWidth");
    QPushButton* fitPage = addButton(*controls, this, tr("&Fit Page"), "cmdFitPage");
    controls->addStretch();
    QPushButton* close = addButton(*controls, this, tr("&Close"), "cmdPreviewClose");

    m_extent = new QLabel(this);
    m_extent->setObjectName(QStringLiteral("PreviewExtent"));
    m_extent->setWordWrap(true);
    m_extent->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(m_extent);
    layout->addWidget(m_pages, 1);
    resize(760, 640);

    connect(m_pages, &QPrintPreviewWidget::paintRequested, this, &PrintPreviewDialog::paintPages);
    connect(m_pages, &QPrintPreviewWidget::previewChanged, this, &PrintPreviewDialog::showCurrentPage);
    connect(m_page, &QSpinBox::valueChanged, this, [this](int page) {
        if (page != m_pages->currentPage())
            m_pages->setCurrentPage(page);
    });
    connect(zoomIn, &QPushButton::clicked, m_pages, [this] { m_pages->zoomIn(kZoomStep); });
    connect(zoomOut, &QPushButton::clicked, m_pages, [this] { m_pages->zoomOut(kZoomStep); });
    connect(fitWidth, &QPushButton::clicked, m_pages, &QPrintPreviewWidget::fitToWidth);
    connect(fitPage, &QPushButton::clicked, m_pages, &QPrintPreviewWidget::fitInView);
    connect(m_print, &QPushButton::clicked, this, [this] {
        m_printAsked = true;
        accept();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    // Tab order as the controls read, the pages last; the pages take the
    // keys first, so that Page Up and Page Down turn them.
    setTabOrder(m_print, m_page);
    setTabOrder(m_page, zoomIn);
    setTabOrder(zoomIn, zoomOut);
    setTabOrder(zoomOut, fitWidth);
    setTabOrder(fitWidth, fitPage);
    setTabOrder(fitPage, close);
    setTabOrder(close, m_pages);
    m_pages->setFocus();
}

void PrintPreviewDialog::paintPages(QPrinter* target)
{
    const Painted painted = m_paint(*target);
    if (!painted.ok)
        m_paintedWell = false;
    // The widget counts the pages painted once this returns, and then tells previewChanged.
    m_pagesInAll = painted.ok ? painted.pagesInAll : 0;
}

void PrintPreviewDialog::showCurrentPage()
{
    const int shown = m_pages->pageCount();
    const QLocale locale;
    m_page->setRange(shown > 0 ? 1 : 0, shown);
    m_page->setValue(m_pages->currentPage());
    m_pageCount->setText(tr("of %1").arg(locale.toString(shown)));
    if (m_pagesInAll > shown) {
        m_extent->setText(tr("This preview shows the first %1 of the listing's %2 pages. Print prints all %2 "
                             "pages.")
                              .arg(locale.toString(shown), locale.toString(m_pagesInAll)));
        m_extent->show();
    } else {
        m_extent->hide();
    }
}

}  // namespace td
