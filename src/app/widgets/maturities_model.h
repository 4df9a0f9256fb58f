#pragma once

#include "commands/maturities.h"

#include <QAbstractTableModel>
#include <vector>

namespace td {

// The rows of the maturities overview for a view. Sorting goes by the
// columns' values (see maturities::sort) and is kept when the rows are
// replaced; matured deposits and those due soon are tinted, as well as named
// in their status column.
class MaturitiesModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // The register holds the deposits whose rows are shown.
    explicit MaturitiesModel(const Register& reg, QObject* parent = nullptr);

    void setRows(std::vector<maturities::Row> rows);
    const maturities::Row& rowAt(int row) const { return m_rows.at(static_cast<std::size_t>(row)); }
    int rowOfRegisterRow(int registerRow) const;  // -1 when none

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    static QColor maturedColour();
    static QColor dueSoonColour();

private:
    const Register& m_register;
    std::vector<maturities::Row> m_rows;
    int m_sortColumn = -1;  // term date order until a column is chosen
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

}  // namespace td
