#pragma once

#include "commands/maturities.h"
#include "commands/maturities_order.h"
#include "commands/maturity_ladder.h"
#include "platform/platform.h"

#include <QAbstractTableModel>
#include <QDate>
#include <vector>

namespace td {

// The rows of the maturities overview for a view, following the register
// change by change: a deposit added, removed or rewritten moves only its own
// row (to its place in the order) and changes the totals by its own figures;
// a register replaced whole (Open, New) is counted afresh. A commit writes
// ten cells; the row is counted once, when the event loop next runs (or at
// catchUp()). Days and values today are counted from the clock's today, again
// only when the day has changed. The counting and the sorts of a large
// register show their progress and can be cancelled; matured deposits and
// those due soon are tinted, as well as named in their status column. The Tax
// and Net Interest columns are there only while a tax share is set.
//
// Per deposit it keeps its figures (maturities::Figures) and its place in
// the order; every text is read from the register when shown.
class MaturitiesModel : public QAbstractTableModel {
    Q_OBJECT

public:
    MaturitiesModel(const Register& reg, const Clock& clock, const DateForm& form, ProgressDisplay& progress,
                    int taxShare = 0, QObject* parent = nullptr);

    // Counts every deposit, in term date order, and follows the register from
    // then on. False when the user cancelled: nothing counted or followed.
    bool countAll();
    // The register's rewritten rows counted now rather than soon.
    void catchUp();
    // Counts the days and values today again when today is not the day they were counted on.
    void recountIfNewDay();
    QDate countedOn() const { return m_basis.today; }
    // Another share of interest withheld as tax (hundredths of a percent):
    // the Tax and Net Interest columns come or go with it, the totals follow.
    void setTaxShare(int taxShare);
    int taxShare() const { return m_basis.taxShare; }
    // A view's column as a maturities::Column, and back (-1 for a column not shown).
    int columnAt(int viewColumn) const;
    int viewColumnOf(int column) const;
    // True while the rows are being replaced or moved: a view's current row
    // that moves meanwhile was not moved by the user.
    bool changingRows() const { return m_changingRows; }

    int registerRowAt(int row) const { return m_order.at(static_cast<std::size_t>(row)) + 1; }
    maturities::State stateAt(int row) const { return shownFigures(row).state(m_basis.today); }
    bool futureValueReadsAt(int row) const { return !std::isnan(shownFigures(row).futureValue); }
    int rowOfRegisterRow(int registerRow) const;  // -1 when none
    const maturities::Summary& summary() const { return m_summary; }
    const maturities::Ladder& ladder() const { return m_ladder; }

    // A maturities::Column.
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    // Sorts by the column's value (a maturities::Column, see
    // maturities::RowOrder), with progress on a large register. False when
    // the user cancelled: the order stays.
    bool sortRows(int column, Qt::SortOrder order);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override
    {
        sortRows(columnAt(column), order);
    }

    static QColor maturedColour();
    static QColor dueSoonColour();

signals:
    void totalsChanged();

private:
    const maturities::Figures& shownFigures(int row) const
    {
        return m_figures[static_cast<std::size_t>(m_order.at(static_cast<std::size_t>(row)))];
    }
    maturities::RowOrder rowOrder(int column, Qt::SortOrder order) const;
    void follow();
    void takeCount(const maturities::Basis& basis, std::vector<maturities::Figures> figures,
                   std::vector<qint32> order);
    void recount();
    void rowsInserted(int first, int last);
    void rowsRemoved(int first, int last);
    void rowsRewritten(int first, int last);
    void catchUpSoon();
    void countAgain(qint32 row);
    void reorder(std::vector<qint32>&& order);
    void sortAgain();
    void add(const maturities::Figures& figures);
    void remove(const maturities::Figures& figures);

    const Register& m_register;
    const Clock& m_clock;
    ProgressDisplay& m_progress;
    maturities::Basis m_basis;                   // today: the day counted on
    std::vector<maturities::Figures> m_figures;  // register row r at r - 1
    std::vector<qint32> m_order;                 // the rows as shown: indexes into m_figures
    std::vector<qint32> m_rewritten;             // to count again at the next catch-up
    maturities::Summary m_summary;
    maturities::Ladder m_ladder;
    int m_sortColumn = maturities::TermDateColumn;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    bool m_recountPending = false;
    bool m_catchUpQueued = false;
    bool m_changingRows = false;
    bool m_busy = false;  // a sort runs the event loop to show its progress
};

}  // namespace td
