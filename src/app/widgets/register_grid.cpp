#include "app/widgets/register_grid.h"

#include "app/widgets/accessible_interfaces.h"
#include "app/widgets/register_grid_accessible.h"
#include "app/widgets/twips.h"
#include "core/register.h"

#include <QAccessible>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace td {

namespace {

// The header row: its key column stays put while the others scroll sideways.
class FrozenKeyHeader : public QHeaderView {
public:
    explicit FrozenKeyHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
    {
        setSectionResizeMode(QHeaderView::Fixed);
        setSectionsClickable(false);
        setHighlightSections(false);
        setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        // The grid reads its header cells out itself, with the cells under them.
        hideFromAssistiveTechnology(*this);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QHeaderView::paintEvent(event);
        if (offset() == 0 || count() <= AccountNumber)
            return;
        QPainter painter(viewport());
        paintSection(&painter, QRect(0, 0, sectionSize(AccountNumber), viewport()->height()), AccountNumber);
    }
};

// The key column is drawn in the fixed-cell style.
class KeyColumnDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->backgroundBrush = option->palette.button();
    }
};

}  // namespace

RegisterGrid::RegisterGrid(Register& reg, QWidget* parent)
    : QAbstractItemView(parent), m_register(&reg), m_header(new FrozenKeyHeader(this)),
      m_rowHeight(qMax(16, fontMetrics().height() + 4))
{
    installAccessibleInterfaces();
    setObjectName(QStringLiteral("Grid"));
    setAccessibleName(tr("Term deposits"));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setItemDelegateForColumn(AccountNumber, new KeyColumnDelegate(this));
    m_header->setModel(&reg);
    setModel(&reg);

    // Rows come and go without the grid keeping anything for them: only the
    // scroll range changes.
    connect(&reg, &Register::rowsInserted, this, [this] { updateGeometries(); });
    connect(&reg, &Register::rowsRemoved, this, [this] { updateGeometries(); });
    connect(&reg, &Register::modelReset, this, [this] { updateGeometries(); });
    connect(&reg, &Register::colWidthChanged, this, [this] { applyColumnWidths(); });
    connect(&reg, &Register::currentCellChanged, this, [this] { showRegisterCurrentCell(); });

    applyColumnWidths();
    showRegisterCurrentCell();
}

int RegisterGrid::rowCount() const { return model() ? model()->rowCount() : 0; }

int RegisterGrid::columnCount() const { return model() ? model()->columnCount() : 0; }

int RegisterGrid::columnWidth(int column) const { return m_header->sectionSize(column); }

int RegisterGrid::topRow() const { return verticalScrollBar()->value(); }

int RegisterGrid::pageRows() const { return qMax(1, viewport()->height() / m_rowHeight); }

int RegisterGrid::columnX(int column) const
{
    return column == AccountNumber ? 0 : m_header->sectionPosition(column) - horizontalOffset();
}

int RegisterGrid::columnAt(int x) const
{
    if (x < 0)
        return -1;
    if (x < columnWidth(AccountNumber))
        return AccountNumber;
    for (int c = AccountNumber + 1; c < columnCount(); ++c) {
        if (x >= columnX(c) && x < columnX(c) + columnWidth(c))
            return c;
    }
    return -1;
}

bool RegisterGrid::columnShown(int column) const
{
    const int left = column == AccountNumber ? 0 : columnWidth(AccountNumber);
    return columnX(column) < viewport()->width() && columnX(column) + columnWidth(column) > left;
}

int RegisterGrid::horizontalOffset() const { return horizontalScrollBar()->value(); }

int RegisterGrid::verticalOffset() const { return -rowY(0); }

int RegisterGrid::rowY(int row) const
{
    // Far rows of a register of many millions lie more pixels away than an
    // int holds; anywhere far off the viewport will do for them.
    constexpr qint64 kFarOff = 1 << 30;
    return int(qBound(-kFarOff, qint64(row - topRow()) * m_rowHeight, kFarOff));
}

QRect RegisterGrid::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != model())
        return {};
    // One pixel right and below each cell is its grid line.
    return QRect(columnX(index.column()), rowY(index.row()), columnWidth(index.column()) - 1,
                 m_rowHeight - 1);
}

QModelIndex RegisterGrid::indexAt(const QPoint& point) const
{
    const int row = point.y() < 0 ? -1 : topRow() + point.y() / m_rowHeight;
    const int column = columnAt(point.x());
    if (row < 0 || row >= rowCount() || column < 0)
        return {};
    return model()->index(row, column);
}

void RegisterGrid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!index.isValid() || index.model() != model())
        return;
    const int row = index.row();
    const int top = topRow();
    switch (hint) {
    case PositionAtTop:
        verticalScrollBar()->setValue(row);
        break;
    case PositionAtBottom:
        verticalScrollBar()->setValue(row - pageRows() + 1);
        break;
    case PositionAtCenter:
        verticalScrollBar()->setValue(row - pageRows() / 2);
        break;
    case EnsureVisible:
        if (row < top)
            verticalScrollBar()->setValue(row);
        else if (row >= top + pageRows())
            verticalScrollBar()->setValue(row - pageRows() + 1);
        break;
    }
    // The key column is always in view; any other is brought out from under it.
    const int column = index.column();
    if (column == AccountNumber)
        return;
    const int left = m_header->sectionPosition(column);
    const int frozen = columnWidth(AccountNumber);
    if (left - horizontalOffset() < frozen)
        horizontalScrollBar()->setValue(left - frozen);
    else if (left + columnWidth(column) - horizontalOffset() > viewport()->width())
        horizontalScrollBar()->setValue(
            qMin(left - frozen, left + columnWidth(column) - viewport()->width()));
}

QModelIndex RegisterGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const int rows = rowCount();
    const int columns = columnCount();
    if (rows == 0 || columns == 0)
        return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return model()->index(0, 0);
    int row = current.row();
    int column = current.column();
    const bool toCorner = modifiers & Qt::ControlModifier;
    switch (cursorAction) {
    case MoveUp:
        --row;
        break;
    case MoveDown:
        ++row;
        break;
    case MoveLeft:
        --column;
        break;
    case MoveRight:
        ++column;
        break;
    case MoveHome:
        column = 0;
        row = toCorner ? 0 : row;
        break;
    case MoveEnd:
        column = columns - 1;
        row = toCorner ? rows - 1 : row;
        break;
    case MovePageUp:
        row -= pageRows();
        break;
    case MovePageDown:
        row += pageRows();
        break;
    // Tab and Shift+Tab go along the rows and wrap round at either end.
    case MoveNext:
        if (++column == columns) {
            column = 0;
            row = row + 1 == rows ? 0 : row + 1;
        }
        break;
    case MovePrevious:
        if (--column < 0) {
            column = columns - 1;
            row = row == 0 ? rows - 1 : row - 1;
        }
        break;
    }
    return model()->index(qBound(0, row, rows - 1), qBound(0, column, columns - 1));
}

void RegisterGrid::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    const QModelIndex from = indexAt(rect.topLeft());
    const QModelIndex to = indexAt(rect.bottomRight());
    if (!from.isValid() || !to.isValid()) {
        selectionModel()->select(QItemSelection(), command);
        return;
    }
    const QModelIndex topLeft = model()->index(qMin(from.row(), to.row()), qMin(from.column(), to.column()));
    const QModelIndex bottomRight =
        model()->index(qMax(from.row(), to.row()), qMax(from.column(), to.column()));
    selectionModel()->select(QItemSelection(topLeft, bottomRight), command);
}

QRegion RegisterGrid::visualRegionForSelection(const QItemSelection& selection) const
{
    QRegion region;
    const int first = topRow();
    const int last = first + pageRows();
    for (const QItemSelectionRange& range : selection) {
        const int top = qMax(range.top(), first);
        const int bottom = qMin(range.bottom(), last);
        if (top > bottom)
            continue;
        for (int c = range.left(); c <= range.right(); ++c)
            region += QRect(columnX(c), (top - first) * m_rowHeight, columnWidth(c),
                            (bottom - top + 1) * m_rowHeight);
    }
    return region;
}

void RegisterGrid::paintEvent(QPaintEvent*)
{
    if (!model() || columnCount() == 0)
        return;
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int first = topRow();
    const int last = qMin(rowCount() - 1, first + pageRows());
    // The key column is drawn last, over the columns that scrolled under it.
    for (int c = columnCount() - 1; c >= AccountNumber; --c) {
        if (!columnShown(c))
            continue;
        for (int r = first; r <= last; ++r)
            paintCell(painter, option, model()->index(r, c));
    }
    const QColor lines = QColor::fromRgba(
        static_cast<QRgb>(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this)));
    painter.setPen(lines);
    const int right = qMin(viewport()->width(), m_header->length() - horizontalOffset()) - 1;
    const int bottom = (last - first + 1) * m_rowHeight - 1;
    for (int y = m_rowHeight - 1; y <= bottom; y += m_rowHeight)
        painter.drawLine(0, y, right, y);
    for (int c = AccountNumber; c < columnCount(); ++c) {
        const int x = columnX(c) + columnWidth(c) - 1;
        if (c == AccountNumber || x >= columnWidth(AccountNumber))
            painter.drawLine(x, 0, x, bottom);
    }
}

void RegisterGrid::paintCell(QPainter& painter, QStyleOptionViewItem option, const QModelIndex& index)
{
    option.rect = visualRect(index);
    if (selectionModel()->isSelected(index))
        option.state |= QStyle::State_Selected;
    if (index == currentIndex() && hasFocus())
        option.state |= QStyle::State_HasFocus;
    itemDelegateForIndex(index)->paint(&painter, option, index);
}

void RegisterGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit gridDoubleClicked();
    event->accept();
}

void RegisterGrid::scrollContentsBy(int, int)
{
    // The key column stays where it is, so nothing can be scrolled as pixels.
    m_header->setOffset(horizontalOffset());
    m_header->viewport()->update();
    viewport()->update();
}

void RegisterGrid::updateGeometries()
{
    const int headerHeight = m_header->sizeHint().height();
    if (viewportMargins().top() != headerHeight)
        setViewportMargins(0, headerHeight, 0, 0);
    const QRect shown = viewport()->geometry();
    m_header->setGeometry(shown.left(), shown.top() - headerHeight, shown.width(), headerHeight);
    verticalScrollBar()->setRange(0, qMax(0, rowCount() - pageRows()));
    verticalScrollBar()->setPageStep(pageRows());
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(0, qMax(0, m_header->length() - shown.width()));
    horizontalScrollBar()->setPageStep(shown.width());
    horizontalScrollBar()->setSingleStep(m_rowHeight);
    m_header->setOffset(horizontalOffset());
    QAbstractItemView::updateGeometries();
    viewport()->update();
}

void RegisterGrid::applyColumnWidths()
{
    if (!m_register)
        return;
    for (int c = 0; c < ColumnCount; ++c)
        m_header->resizeSection(c, twipsToPixels(m_register->colWidth(c)));
    updateGeometries();
}

void RegisterGrid::showRegisterCurrentCell()
{
    if (m_syncing || !m_register)
        return;
    m_syncing = true;
    const int row = m_register->row();
    const QModelIndex index =
        row > 0 ? m_register->index(Register::viewRow(row), m_register->col()) : QModelIndex();
    if (index.isValid())
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    else
        selectionModel()->clear();
    m_syncing = false;
}

void RegisterGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QAbstractItemView::currentChanged(current, previous);
    if (current.isValid() && hasFocus())
        announce(current, QAccessible::Focus);
    // While rows come and go the view moves its current index by itself; the
    // register keeps its own current cell and tells the grid when it is done.
    if (m_syncing || !m_register || m_register->changingRows() || !current.isValid())
        return;
    m_syncing = true;
    m_register->setCurrentCell(Register::registerRow(current.row()), current.column());
    m_syncing = false;
}

void RegisterGrid::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
    if (!selected.isEmpty() && hasFocus())
        announce(selected.first().topLeft(), QAccessible::Selection);
}

void RegisterGrid::announce(const QModelIndex& index, int event)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent accessibleEvent(this, static_cast<QAccessible::Event>(event));
    accessibleEvent.setChild(registerGridChild(index.row(), index.column()));
    QAccessible::updateAccessibility(&accessibleEvent);
}

void RegisterGrid::focusInEvent(QFocusEvent* event)
{
    // A view without a current index picks its first cell when it gets the
    // focus; the register's current cell must not move for that.
    m_syncing = true;
    QAbstractItemView::focusInEvent(event);
    m_syncing = false;
    showRegisterCurrentCell();
}

}  // namespace td
