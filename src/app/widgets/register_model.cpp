#include "app/widgets/register_model.h"

#include "core/register.h"

#include <QApplication>
#include <QPalette>

namespace td {

RegisterModel::RegisterModel(Register& reg, QObject* parent) : QAbstractTableModel(parent), m_register(reg)
{
    connect(&reg, &Register::rowsAboutToBeInserted, this,
            [this](int first, int last) { beginInsertRows({}, viewRow(first), viewRow(last)); });
    connect(&reg, &Register::rowsInserted, this, [this] { endInsertRows(); });
    connect(&reg, &Register::rowsAboutToBeRemoved, this,
            [this](int first, int last) { beginRemoveRows({}, viewRow(first), viewRow(last)); });
    connect(&reg, &Register::rowsRemoved, this, [this] { endRemoveRows(); });
    connect(&reg, &Register::aboutToReset, this, [this] { beginResetModel(); });
    connect(&reg, &Register::resetDone, this, [this] { endResetModel(); });
    connect(&reg, &Register::cellChanged, this, [this](int row, int col) {
        if (row == 0) {
            emit headerDataChanged(Qt::Horizontal, col, col);
        } else {
            const QModelIndex i = index(viewRow(row), col);
            emit dataChanged(i, i, {Qt::DisplayRole});
        }
    });
}

int RegisterModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_register.rows() - 1;
}

int RegisterModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RegisterModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return m_register.cell(registerRow(index.row()), index.column());
    case Qt::BackgroundRole:
        // The key column is drawn in the fixed-cell style.
        if (index.column() == AccountNumber)
            return QApplication::palette().button();
        return {};
    default:
        return {};
    }
}

QVariant RegisterModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && (role == Qt::DisplayRole || role == Qt::AccessibleTextRole))
        return m_register.cell(0, section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace td
