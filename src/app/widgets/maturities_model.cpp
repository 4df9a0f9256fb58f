#include "app/widgets/maturities_model.h"

#include "core/register.h"

#include <QColor>

namespace td {

using namespace maturities;

MaturitiesModel::MaturitiesModel(const Register& reg, const Clock& clock, const DateForm& form,
                                 QObject* parent)
    : QAbstractTableModel(parent), m_register(reg), m_clock(clock), m_form(form)
{
    // Every change the register's views are told of: rows added, removed,
    // rewritten or replaced.
    const QAbstractItemModel* changes = &reg;
    connect(changes, &QAbstractItemModel::rowsInserted, this, &MaturitiesModel::recountSoon);
    connect(changes, &QAbstractItemModel::rowsRemoved, this, &MaturitiesModel::recountSoon);
    connect(changes, &QAbstractItemModel::rowsMoved, this, &MaturitiesModel::recountSoon);
    connect(changes, &QAbstractItemModel::modelReset, this, &MaturitiesModel::recountSoon);
    connect(changes, &QAbstractItemModel::layoutChanged, this, &MaturitiesModel::recountSoon);
    connect(changes, &QAbstractItemModel::dataChanged, this, &MaturitiesModel::recountSoon);
    recount();
}

QColor MaturitiesModel::maturedColour() { return QColor(255, 205, 205); }
QColor MaturitiesModel::dueSoonColour() { return QColor(255, 240, 180); }

void MaturitiesModel::recount()
{
    m_recountPending = false;
    m_countedOn = m_clock.today();
    std::vector<Row> rows = maturities::build(m_register, m_countedOn, m_form);
    if (m_sortColumn >= 0)
        maturities::sort(rows, m_sortColumn, m_sortOrder == Qt::AscendingOrder);
    const Summary summary = maturities::summarise(rows);
    m_changingRows = true;
    beginResetModel();
    m_rows = std::move(rows);
    m_summary = summary;
    endResetModel();
    m_changingRows = false;
    emit totalsChanged();
}

void MaturitiesModel::recountSoon()
{
    if (m_recountPending)
        return;
    m_recountPending = true;
    QMetaObject::invokeMethod(this, &MaturitiesModel::catchUp, Qt::QueuedConnection);
}

void MaturitiesModel::catchUp()
{
    if (m_recountPending)
        recount();
}

void MaturitiesModel::recountIfNewDay()
{
    if (m_clock.today() != m_countedOn)
        recount();
}

int MaturitiesModel::rowOfRegisterRow(int registerRow) const
{
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].registerRow == registerRow)
            return static_cast<int>(i);
    }
    return -1;
}

int MaturitiesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int MaturitiesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : maturities::ColumnCount;
}

QVariant MaturitiesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Row& row = rowAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return maturities::text(row, m_register.record(row.registerRow), index.column());
    case Qt::BackgroundRole:
        if (row.state == State::Matured)
            return maturedColour();
        if (row.state == State::DueSoon)
            return dueSoonColour();
        return {};
    case Qt::ForegroundRole:
        // Dark text on the tints, whatever the palette.
        if (row.state == State::Matured || row.state == State::DueSoon)
            return QColor(Qt::black);
        return {};
    case Qt::TextAlignmentRole:
        switch (index.column()) {
        case DaysColumn:
        case BalanceColumn:
        case FutureValueColumn:
        case InterestColumn:
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        }
    default:
        return {};
    }
}

QVariant MaturitiesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && (role == Qt::DisplayRole || role == Qt::AccessibleTextRole))
        return maturities::headerText(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void MaturitiesModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= maturities::ColumnCount)
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    m_changingRows = true;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> registerRows;
    for (const QModelIndex& i : before)
        registerRows.push_back(rowAt(i.row()).registerRow);
    maturities::sort(m_rows, column, order == Qt::AscendingOrder);
    QModelIndexList after;
    for (std::size_t i = 0; i < registerRows.size(); ++i)
        after << index(rowOfRegisterRow(registerRows[i]), before[static_cast<qsizetype>(i)].column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    m_changingRows = false;
}

}  // namespace td
