#include "app/widgets/interest_by_year_model.h"

#include "core/register.h"

namespace td {

using interest_by_year::Tables;
using YearColumn = interest_by_year::Column;

InterestByYearModel::InterestByYearModel(const Register& reg, Platform& platform,
                                         const Preferences& preferences, QObject* parent)
    : QAbstractTableModel(parent), m_register(reg), m_platform(platform), m_preferences(preferences),
      m_columns(interest_by_year::columns(preferences.taxShareHundredthsOfPercent)),
      m_countedStartMonth(preferences.taxYearStartMonth)
{
}

bool InterestByYearModel::countAll()
{
    if (!count(false))
        return false;
    if (!m_following) {
        m_following = true;
        // Any change to the deposits counts them again, once the command that made it is done.
        connect(&m_register, &QAbstractItemModel::rowsInserted, this, &InterestByYearModel::recountSoon);
        connect(&m_register, &QAbstractItemModel::rowsRemoved, this, &InterestByYearModel::recountSoon);
        connect(&m_register, &QAbstractItemModel::rowsMoved, this, &InterestByYearModel::recountSoon);
        connect(&m_register, &QAbstractItemModel::dataChanged, this, &InterestByYearModel::recountSoon);
        connect(&m_register, &QAbstractItemModel::modelReset, this, &InterestByYearModel::recountSoon);
        connect(&m_register, &QAbstractItemModel::layoutChanged, this, &InterestByYearModel::recountSoon);
        connect(&PreferencesNotifier::instance(), &PreferencesNotifier::changed, this,
                &InterestByYearModel::setPreferences);
    }
    return true;
}

// False when the user cancelled; the rows are then as they were.
bool InterestByYearModel::count(bool afterChange)
{
    Tables tables;
    bool counted = false;
    m_counting = true;
    {
        BusyScope busy(m_platform.pointer);
        ProgressScope progress(m_platform.progress, tr("Counting the interest by year"));
        counted = interest_by_year::countRegister(
            m_register, m_platform.dateForm, m_preferences.taxYearStartMonth, tables,
            [&progress](qint64 done, qint64 total) { return progress.advance(done, total); });
    }
    m_counting = false;
    if (!counted) {
        if (afterChange && !m_outOfDate) {
            m_outOfDate = true;
            emit countChanged();
        }
        return false;
    }
    beginResetModel();
    m_tables = std::move(tables);
    m_countedStartMonth = m_preferences.taxYearStartMonth;
    m_columns = interest_by_year::columns(m_preferences.taxShareHundredthsOfPercent);
    m_outOfDate = false;
    endResetModel();
    emit countChanged();
    return true;
}

void InterestByYearModel::recountSoon()
{
    if (m_recountQueued)
        return;
    m_recountQueued = true;
    QMetaObject::invokeMethod(this, &InterestByYearModel::recount, Qt::QueuedConnection);
}

void InterestByYearModel::recount()
{
    m_recountQueued = false;
    // A change while a count shows its progress: counted again once it is done.
    if (m_counting) {
        recountSoon();
        return;
    }
    count(true);
}

void InterestByYearModel::setPreferences(const Preferences& preferences)
{
    m_preferences = preferences;
    // The tax applies at once; years that start in another month are counted again.
    showAgain();
    if (preferences.taxYearStartMonth != m_countedStartMonth)
        recountSoon();
}

void InterestByYearModel::setIncludeInactive(bool include)
{
    if (include == m_includeInactive)
        return;
    m_includeInactive = include;
    showAgain();
}

// The same counts shown otherwise: the other table, or the tax columns.
void InterestByYearModel::showAgain()
{
    beginResetModel();
    m_columns = interest_by_year::columns(m_preferences.taxShareHundredthsOfPercent);
    endResetModel();
    emit countChanged();
}

QList<QStringList> InterestByYearModel::shownRows() const
{
    return interest_by_year::shownTable(table(), m_countedStartMonth,
                                        m_preferences.taxShareHundredthsOfPercent);
}

int InterestByYearModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(table().years.size());
}

int InterestByYearModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant InterestByYearModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const YearColumn column = m_columns.at(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return interest_by_year::text(table().years.at(std::size_t(index.row())), column, m_countedStartMonth,
                                      m_preferences.taxShareHundredthsOfPercent);
    case Qt::TextAlignmentRole:
        return column == YearColumn::Year ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                          : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant InterestByYearModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < m_columns.size() &&
        (role == Qt::DisplayRole || role == Qt::AccessibleTextRole))
        return interest_by_year::headerText(m_columns.at(section), m_countedStartMonth);
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace td
