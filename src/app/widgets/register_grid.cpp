#include "app/widgets/register_grid.h"

#include "app/widgets/accessible_interfaces.h"
#include "core/register.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace td {

namespace {

void setUpCommon(QTableView& view)
{
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectItems);
    view.setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view.setWordWrap(false);
    view.verticalHeader()->hide();
    // A fixed row height: sizing a million rows to their contents would take seconds.
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(qMax(16, view.fontMetrics().height() + 4));
    view.horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.horizontalHeader()->setSectionsClickable(false);
    view.horizontalHeader()->setHighlightSections(false);
    view.horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

// The frozen key column only repeats what the grid holds: the grid under it
// announces the current cell and the selection, so this one stays silent
// (QTableView's own overrides would report them as a second table).
class FrozenKeyColumn : public QTableView {
public:
    using QTableView::QTableView;

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override
    {
        QAbstractItemView::currentChanged(current, previous);
    }
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override
    {
        QAbstractItemView::selectionChanged(selected, deselected);
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
    : QTableView(parent), m_register(&reg), m_frozen(new FrozenKeyColumn(this))
{
    setObjectName(QStringLiteral("Grid"));
    setAccessibleName(tr("Term deposits"));
    setUpCommon(*this);
    setModel(&reg);
    auto* keyColumn = new KeyColumnDelegate(this);
    setItemDelegateForColumn(AccountNumber, keyColumn);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    m_frozen->setObjectName(QStringLiteral("GridKeyColumn"));
    hideFromAssistiveTechnology(*m_frozen);
    setUpCommon(*m_frozen);
    m_frozen->setModel(&reg);
    m_frozen->setItemDelegateForColumn(AccountNumber, keyColumn);
    m_frozen->setSelectionModel(selectionModel());
    m_frozen->setFocusPolicy(Qt::NoFocus);
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setFrameShape(QFrame::NoFrame);
    for (int c = 1; c < ColumnCount; ++c)
        m_frozen->setColumnHidden(c, true);
    viewport()->stackUnder(m_frozen);

    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, m_frozen->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(m_frozen->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(&reg, &Register::colWidthChanged, this, [this] { applyColumnWidths(); });
    connect(&reg, &Register::currentCellChanged, this, [this] { showRegisterCurrentCell(); });
    viewport()->installEventFilter(this);
    m_frozen->viewport()->installEventFilter(this);

    applyColumnWidths();
    showRegisterCurrentCell();
}

void RegisterGrid::applyColumnWidths()
{
    if (!m_register)
        return;
    for (int c = 0; c < ColumnCount; ++c)
        setColumnWidth(c, twipsToPixels(m_register->colWidth(c)));
    m_frozen->setColumnWidth(AccountNumber, columnWidth(AccountNumber));
    updateFrozenGeometry();
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
    QTableView::currentChanged(current, previous);
    // While rows come and go the view moves its current index by itself; the
    // register keeps its own current cell and tells the grid when it is done.
    if (m_syncing || !m_register || m_register->changingRows() || !current.isValid())
        return;
    m_syncing = true;
    m_register->setCurrentCell(Register::registerRow(current.row()), current.column());
    m_syncing = false;
}

void RegisterGrid::focusInEvent(QFocusEvent* event)
{
    // A view without a current index picks its first cell when it gets the
    // focus; the register's current cell must not move for that.
    m_syncing = true;
    QTableView::focusInEvent(event);
    m_syncing = false;
    showRegisterCurrentCell();
}

bool RegisterGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick &&
        (watched == viewport() || watched == m_frozen->viewport())) {
        emit gridDoubleClicked();
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

void RegisterGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    updateFrozenGeometry();
}

void RegisterGrid::updateGeometries()
{
    QTableView::updateGeometries();
    updateFrozenGeometry();
}

void RegisterGrid::updateFrozenGeometry()
{
    if (!m_frozen)
        return;
    m_frozen->setGeometry(frameWidth(), frameWidth(), columnWidth(AccountNumber),
                          viewport()->height() + horizontalHeader()->height());
}

QModelIndex RegisterGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    QModelIndex current = QTableView::moveCursor(cursorAction, modifiers);
    // Keep a cell that moved left under the frozen column in view.
    if (cursorAction == MoveLeft && current.column() > 0 &&
        visualRect(current).topLeft().x() < m_frozen->columnWidth(AccountNumber)) {
        const int newValue = horizontalScrollBar()->value() + visualRect(current).topLeft().x() -
                             m_frozen->columnWidth(AccountNumber);
        horizontalScrollBar()->setValue(newValue);
    }
    return current;
}

QRect RegisterGrid::visualRect(const QModelIndex& index) const
{
    QRect rect = QTableView::visualRect(index);
    // A key cell is where the frozen column draws it, whatever the sideways scroll.
    if (index.isValid() && index.column() == AccountNumber && !rect.isEmpty())
        rect.moveLeft(0);
    return rect;
}

void RegisterGrid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (index.column() > 0)
        QTableView::scrollTo(index, hint);
    else if (index.isValid()) {
        // Column 0 is always in view: scroll up or down only.
        const int sideways = horizontalScrollBar()->value();
        QTableView::scrollTo(index, hint);
        horizontalScrollBar()->setValue(sideways);
    }
}

}  // namespace td
