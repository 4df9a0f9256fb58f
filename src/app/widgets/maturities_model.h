#pragma once

#include "commands/maturities.h"
#include "platform/platform.h"

#include <QAbstractTableModel>
#include <QDate>
#include <vector>

namespace td {

// The rows of the maturities overview for a view, following the register:
// any change the register announces brings a recount soon after (a commit
// writes ten cells; one recount follows them), and the totals with it.
// Days are counted from the clock's today, and counted again only when the
// day has changed. Sorting goes by the columns' values (see maturities::sort)
// and is kept when the rows are counted again; matured deposits and those
// due soon are tinted, as well as named in their status column.
class MaturitiesModel : public QAbstractTableModel {
    Q_OBJECT

public:
    MaturitiesModel(const Register& reg, const Clock& clock, const DateForm& form, QObject* parent = nullptr);

    // Counts every row afresh now.
    void recount();
    // A recount that a register change asked for, done now rather than soon.
    void catchUp();
    // Counts afresh when today is not the day the rows were counted on.
    void recountIfNewDay();
    QDate countedOn() const { return m_countedOn; }
    // True while the rows are being replaced or moved: a view's current row
    // that moves meanwhile was not moved by the user.
    bool changingRows() const { return m_changingRows; }

    const maturities::Row& rowAt(int row) const { return m_rows.at(static_cast<std::size_t>(row)); }
    int rowOfRegisterRow(int registerRow) const;  // -1 when none
    const maturities::Summary& summary() const { return m_summary; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    static QColor maturedColour();
    static QColor dueSoonColour();

signals:
    void totalsChanged();

private:
    void recountSoon();

    const Register& m_register;
    const Clock& m_clock;
    DateForm m_form;
    QDate m_countedOn;
    bool m_recountPending = false;
    bool m_changingRows = false;
    std::vector<maturities::Row> m_rows;
    maturities::Summary m_summary;
    int m_sortColumn = -1;  // term date order until a column is chosen
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

}  // namespace td
