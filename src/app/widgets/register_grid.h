#pragma once

#include <QPointer>
#include <QTableView>

namespace td {

class Register;

// The register grid: the header row fixed on top, the key column frozen on the
// left (an overlay view of column 0 that stays put while the others scroll
// sideways), and its current index kept in step with the register's current
// cell in both directions. Assistive technology sees one table: the overlay
// is hidden from it, and the grid places its key cells where the overlay draws them.
class RegisterGrid : public QTableView {
    Q_OBJECT

public:
    RegisterGrid(Register& reg, QWidget* parent = nullptr);

    QTableView* frozenColumn() const { return m_frozen; }
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QRect visualRect(const QModelIndex& index) const override;

signals:
    // A double click anywhere on the grid.
    void gridDoubleClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusInEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void updateGeometries() override;

private:
    void applyColumnWidths();
    void showRegisterCurrentCell();
    void updateFrozenGeometry();

    // A window's register may go before the grid that shows it, as members
    // go before child widgets; the grid then shows nothing.
    QPointer<Register> m_register;
    QTableView* m_frozen;
    bool m_syncing = false;
};

}  // namespace td
