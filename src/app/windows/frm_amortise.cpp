#include "app/windows/frm_amortise.h"

#include "app/widgets/dialog_parts.h"
#include "app/widgets/register_grid.h"
#include "app/widgets/twips.h"
#include "commands/export_questions.h"
#include "finance/amortisation.h"

#include <QAction>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QShowEvent>
#include <QTableWidget>
#include <functional>

namespace td {

namespace {

constexpr int kClientWidth = 9075;
constexpr int kClientHeight = 6720;
constexpr int kMoneyColumnWidth = 1600;
// The Year column keeps the grid's default width: wide enough for a year,
// narrow enough that all six columns fit beside the vertical scroll bar.
constexpr int kScheduleDefaultColumnWidth = 600;
// Room that a cell takes beside its text, in pixels.
constexpr int kCellPadding = 8;

}  // namespace

frmAmortise::frmAmortise(Register& reg, const std::vector<AmortisationRow>& schedule, QSize screenSize,
                         QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), m_screen(screenSize)
{
    setObjectName(QStringLiteral("frmAmortise"));
    setWindowTitle(tr("Lease Amortisation"));
    setFixedSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));

    m_grid = new RegisterGrid(m_strip, this);
    m_grid->setAccessibleName(tr("Selected term deposit"));
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    placeTwips(*m_grid, 120, 120, 8895, 945);

    m_gridAmortisation = new QTableWidget(1, ScheduleColumnCount, this);
    m_gridAmortisation->setObjectName(QStringLiteral("GridAmortisation"));
    m_gridAmortisation->setAccessibleName(tr("Amortisation schedule"));
    m_gridAmortisation->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_gridAmortisation->setSelectionMode(QAbstractItemView::SingleSelection);
    m_gridAmortisation->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_gridAmortisation->setWordWrap(false);
    m_gridAmortisation->verticalHeader()->hide();
    m_gridAmortisation->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_gridAmortisation->verticalHeader()->setDefaultSectionSize(m_grid->rowHeight());
    QHeaderView* header = m_gridAmortisation->horizontalHeader();
    header->setDefaultSectionSize(twipsToPixels(kScheduleDefaultColumnWidth));
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    placeTwips(*m_gridAmortisation, 120, 1200, 8895, 5415);

    // Tab moves between the two grids, not from cell to cell.
    m_grid->setTabKeyNavigation(false);
    m_gridAmortisation->setTabKeyNavigation(false);
    setTabOrder(m_gridAmortisation, m_grid);
    m_gridAmortisation->setFocus();

    load(reg, schedule);
}

void frmAmortise::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// The outer size counts the window system's frame. Until the window has been
// shown its frame is unknown; the main window's frame, drawn by the same
// window manager, stands in for it so the window opens where it belongs.
void frmAmortise::centre()
{
    QSize outer = frameGeometry().size();
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (outer == size() && owner && owner->isVisible())
        outer += owner->frameGeometry().size() - owner->size();
    move(centredOnScreen(m_screen, outer));
}

void frmAmortise::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        centre();
}

void frmAmortise::load(Register& reg, const std::vector<AmortisationRow>& schedule)
{
    centre();

    for (int c = 0; c < ColumnCount; ++c) {
        m_strip.setColWidth(c, kColumns[c].widthTwips);
        m_strip.setCell(0, c, headerText(c));
    }

    // The deposit row, read through the register's current cell as every window does.
    for (int c = 0; c < ColumnCount; ++c) {
        reg.setCol(c);
        const QString text = reg.text();
        m_strip.setCell(1, c, c == AccountNumber || c == SaveEachMonth ? text.trimmed() : text);
    }

    fillSchedule(schedule);
}

void frmAmortise::fillSchedule(const std::vector<AmortisationRow>& schedule)
{
    QStringList headers;
    for (int c = 0; c < ScheduleColumnCount; ++c)
        headers << amortisationHeaderText(c);
    m_gridAmortisation->setHorizontalHeaderLabels(headers);
    for (int c = ScheduleAnnually; c < ScheduleColumnCount; ++c)
        m_gridAmortisation->setColumnWidth(c, twipsToPixels(kMoneyColumnWidth));

    // The strip's current cell is the last one the schedule was read from.
    m_strip.setCurrentCell(1, Interest);

    const int rows = static_cast<int>(schedule.size());
    m_gridAmortisation->setRowCount(rows);
    const QFontMetrics metrics = m_gridAmortisation->fontMetrics();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < ScheduleColumnCount; ++c) {
            const QString& text = schedule[r][c];
            auto* item = new QTableWidgetItem(text);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            // Long terms at high rates reach amounts wider than their column;
            // the cell is then cut short, and its tip gives the whole amount.
            if (metrics.horizontalAdvance(text) + kCellPadding > m_gridAmortisation->columnWidth(c))
                item->setToolTip(text);
            m_gridAmortisation->setItem(r, c, item);
        }
    }
    m_gridAmortisation->setCurrentCell(rows - 1, ScheduleDaily);
}

void frmAmortise::offerScheduleOut(Platform& platform)
{
    m_platform = &platform;
    struct Item {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
        std::function<void()> run;
    };
    const Item items[] = {
        {"actCopySchedule", QT_TR_NOOP("&Copy Schedule"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
         [this] { copySchedule(); }},
        {"actExportSchedule",
         QT_TR_NOOP("&Export to CSV..."),
         {},
         [this] { exportSchedule(csv::Form::AsShown); }},
        {"actExportScheduleNumbers",
         QT_TR_NOOP("Export to CSV with Plain N&umbers..."),
         {},
         [this] { exportSchedule(csv::Form::PlainNumbers); }},
    };
    // The grid's context menu (mouse, or the keyboard's menu key) lists them;
    // the copy's shortcut works anywhere in the window.
    m_gridAmortisation->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (const Item& item : items) {
        auto* action = new QAction(tr(item.caption), m_gridAmortisation);
        action->setObjectName(QString::fromLatin1(item.name));
        action->setShortcut(item.shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, item.run);
        m_gridAmortisation->addAction(action);
    }
}

QList<QStringList> frmAmortise::scheduleRows() const
{
    QList<QStringList> rows;
    for (int r = 0; r < m_gridAmortisation->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < m_gridAmortisation->columnCount(); ++c) {
            const QTableWidgetItem* item = m_gridAmortisation->item(r, c);
            row << (item ? item->text() : QString());
        }
        rows << row;
    }
    return rows;
}

void frmAmortise::copySchedule()
{
    QGuiApplication::clipboard()->setText(
        csv::tabSeparated(csv::scheduleTable(scheduleRows(), csv::Form::AsShown, DateForm())));
}

void frmAmortise::exportSchedule(csv::Form form)
{
    if (!m_platform)
        return;
    // Proposed under the deposit's account number, kept to characters any file system takes.
    QString account = m_strip.cell(1, AccountNumber);
    for (QChar& c : account) {
        if (!c.isLetterOrNumber() && c != QLatin1Char('-') && c != QLatin1Char('_'))
            c = QLatin1Char('_');
    }
    // Each form under a name and a dialog title of its own.
    const bool plain = form == csv::Form::PlainNumbers;
    const QString proposed = account.isEmpty() ? QString()
                             : plain           ? tr("Schedule %1-plain.csv").arg(account)
                                               : tr("Schedule %1.csv").arg(account);
    const std::optional<QString> name = askCsvFileName(
        *m_platform, proposed, plain ? tr("Export to CSV with Plain Numbers") : tr("Export to CSV"));
    if (!name)
        return;
    csv::FileExporter exporter;
    bool written = false;
    {
        BusyScope busy(m_platform->pointer);
        written = exporter.writeTable(*name, csv::scheduleTable(scheduleRows(), form, m_platform->dateForm));
    }
    if (!written)
        reportExportFailure(m_platform->messages, *name, exporter);
}

}  // namespace td
