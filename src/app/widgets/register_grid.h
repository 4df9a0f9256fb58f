#pragma once

#include <QAbstractItemView>
#include <QPointer>

class QHeaderView;

namespace td {

class Register;

// The register grid: the header row fixed on top, the key column frozen on the
// left while the others scroll sideways, and its current index kept in step
// with the register's current cell in both directions.
//
// Every row has the same height and the grid keeps nothing per row, so
// showing a million deposits costs no more than showing ten: the rows on
// screen are worked out from the scroll position when they are drawn. The
// header row is a QHeaderView, which keeps state for each of the ten columns
// only. Assistive technology reads the grid as one table of cells under
// column headers (register_grid_accessible.h).
class RegisterGrid : public QAbstractItemView {
    Q_OBJECT

public:
    RegisterGrid(Register& reg, QWidget* parent = nullptr);

    QHeaderView* horizontalHeader() const { return m_header; }
    int columnWidth(int column) const;
    int rowHeight() const { return m_rowHeight; }
    // The left edge of a column in the viewport (the key column never moves),
    // and the column at a point of it, -1 for none.
    int columnX(int column) const;
    int columnAt(int x) const;
    // False for a column scrolled out of the viewport or under the key column.
    bool columnShown(int column) const;

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;

signals:
    // A double click anywhere on the grid.
    void gridDoubleClicked();

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;

    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    int rowCount() const;
    int columnCount() const;
    // The first row at the top of the viewport.
    int topRow() const;
    // Rows that fit whole in the viewport, at least one.
    int pageRows() const;
    // The top edge of a row in the viewport.
    int rowY(int row) const;
    void paintCell(QPainter& painter, QStyleOptionViewItem option, const QModelIndex& index);
    void applyColumnWidths();
    void showRegisterCurrentCell();
    void announce(const QModelIndex& index, int event);

    // A window's register may go before the grid that shows it, as members
    // go before child widgets; the grid then shows nothing.
    QPointer<Register> m_register;
    QHeaderView* m_header;
    int m_rowHeight;
    bool m_syncing = false;
};

}  // namespace td
