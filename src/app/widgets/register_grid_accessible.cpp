#include "app/widgets/register_grid_accessible.h"

#include "app/widgets/register_grid.h"
#include "core/columns.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QPointer>

#include <limits>

namespace td {

namespace {

// One cell of the grid, or with row -1 the header of its column. It reads
// the grid when asked, so it is never out of date, only out of range.
class GridCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    GridCell(RegisterGrid* grid, int row, int column) : m_grid(grid), m_row(row), m_column(column) {}

    bool isValid() const override
    {
        return m_grid && m_grid->model() && m_row < m_grid->model()->rowCount() &&
               m_column < m_grid->model()->columnCount();
    }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_grid); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override
    {
        return m_row < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this)
                                                       : nullptr;
    }

    QString text(QAccessible::Text type) const override
    {
        if (type != QAccessible::Name || !isValid())
            return {};
        if (m_row < 0)
            return m_grid->model()->headerData(m_column, Qt::Horizontal).toString();
        return index().data().toString();
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        if (m_row < 0) {
            QWidget* header = m_grid->horizontalHeader()->viewport();
            return QRect(header->mapToGlobal(QPoint(m_grid->columnX(m_column), 0)),
                         QSize(m_grid->columnWidth(m_column), header->height()));
        }
        const QRect drawn = m_grid->visualRect(index());
        return QRect(m_grid->viewport()->mapToGlobal(drawn.topLeft()), drawn.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.invisible = !m_grid->columnShown(m_column);
        if (m_row < 0)
            return state;
        const int top = m_grid->visualRect(index()).top();
        state.invisible = state.invisible || top < 0 || top >= m_grid->viewport()->height();
        state.selectable = true;
        state.focusable = true;
        state.selected = isSelected();
        state.focused = m_grid->hasFocus() && m_grid->currentIndex() == index();
        return state;
    }

    bool isSelected() const override
    {
        return m_row >= 0 && isValid() && m_grid->selectionModel()->isSelected(index());
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override
    {
        QAccessibleInterface* table = parent();
        QAccessibleInterface* header =
            m_row < 0 || !table ? nullptr : table->child(registerGridChild(-1, m_column));
        return header ? QList<QAccessibleInterface*>{header} : QList<QAccessibleInterface*>{};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return qMax(m_row, 0); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    const RegisterGrid* grid() const { return m_grid; }
    int row() const { return m_row; }
    int column() const { return m_column; }

private:
    QModelIndex index() const { return m_grid->model()->index(m_row, m_column); }

    QPointer<RegisterGrid> m_grid;
    int m_row;
    int m_column;
};

// The grid as a table of its cells. Its scroll bars and header widget are
// how it is drawn, not parts to read.
class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridAccessible(RegisterGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}
    ~GridAccessible() override { dropCells(); }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override
    {
        const qint64 children = qint64(rowCount() + 1) * columnCount();
        return int(qMin<qint64>(children, std::numeric_limits<int>::max()));
    }
    QAccessibleInterface* child(int index) const override
    {
        const int columns = columnCount();
        if (index < 0 || index >= childCount() || columns == 0)
            return nullptr;
        return cell(index / columns - 1, index % columns);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto* cell = dynamic_cast<const GridCell*>(child);
        if (!cell || cell->grid() != grid())
            return -1;
        return registerGridChild(cell->row(), cell->column());
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        QWidget* header = grid()->horizontalHeader()->viewport();
        const QPoint inHeader = header->mapFromGlobal(QPoint(x, y));
        if (header->rect().contains(inHeader)) {
            const int column = grid()->columnAt(inHeader.x());
            return column < 0 ? nullptr : cell(-1, column);
        }
        const QModelIndex index = grid()->indexAt(grid()->viewport()->mapFromGlobal(QPoint(x, y)));
        return index.isValid() ? cell(index.row(), index.column()) : nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        const QModelIndex current = grid()->currentIndex();
        return grid()->hasFocus() && current.isValid() ? cell(current.row(), current.column()) : nullptr;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
            return nullptr;
        return cell(row, column);
    }
    int columnCount() const override { return grid()->model() ? grid()->model()->columnCount() : 0; }
    int rowCount() const override { return grid()->model() ? grid()->model()->rowCount() : 0; }
    int selectedCellCount() const override { return int(selectedCells().size()); }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> cells;
        if (grid()->selectionModel()) {
            for (const QModelIndex& index : grid()->selectionModel()->selectedIndexes())
                cells.append(cell(index.row(), index.column()));
        }
        return cells;
    }
    QString columnDescription(int column) const override
    {
        return grid()->model() ? grid()->model()->headerData(column, Qt::Horizontal).toString() : QString();
    }
    QString rowDescription(int) const override { return {}; }
    // Cells are chosen one at a time: whole rows and columns never are.
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }

    void modelChange(QAccessibleTableModelChangeEvent* event) override
    {
        // A cell is a place in the table: once rows come or go, the ones
        // handed out before name other deposits, so they are made anew.
        if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged)
            dropCells();
    }

private:
    RegisterGrid* grid() const { return static_cast<RegisterGrid*>(widget()); }

    QAccessibleInterface* cell(int row, int column) const
    {
        const int key = registerGridChild(row, column);
        if (const QAccessible::Id id = m_cells.value(key))
            return QAccessible::accessibleInterface(id);
        auto* made = new GridCell(grid(), row, column);
        m_cells.insert(key, QAccessible::registerAccessibleInterface(made));
        return made;
    }

    void dropCells()
    {
        for (const QAccessible::Id id : std::as_const(m_cells))
            QAccessible::deleteAccessibleInterface(id);
        m_cells.clear();
    }

    mutable QHash<int, QAccessible::Id> m_cells;
};

}  // namespace

QAccessibleInterface* makeRegisterGridAccessible(RegisterGrid* grid) { return new GridAccessible(grid); }

int registerGridChild(int row, int column)
{
    // Past about 200 million rows the numbers run out; those cells share the last.
    const qint64 child = (qint64(row) + 1) * ColumnCount + column;
    return int(qMin<qint64>(child, std::numeric_limits<int>::max()));
}

}  // namespace td
