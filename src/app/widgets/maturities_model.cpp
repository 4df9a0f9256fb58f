#include "app/widgets/maturities_model.h"

#include "core/register.h"

#include <QColor>
#include <algorithm>

namespace td {

using namespace maturities;

namespace {

// A change of more rows than this at once is counted afresh: cheaper than
// row by row, and the views take one reset rather than as many changes.
constexpr qint32 kManyRows = 1024;

// Tax and Net Interest, when shown, come after Interest to Earn.
constexpr int kTaxColumns = maturities::NetInterestColumn - maturities::TaxColumn + 1;

bool dependsOnTheDay(int column)
{
    return column == StatusColumn || column == ValueTodayColumn || column == InterestSoFarColumn;
}

}  // namespace

MaturitiesModel::MaturitiesModel(const Register& reg, const Clock& clock, const DateForm& form,
                                 ProgressDisplay& progress, int taxShare, QObject* parent)
    : QAbstractTableModel(parent), m_register(reg), m_clock(clock),
      m_progress(progress), m_basis{clock.today(), form, taxShare}, m_summary(taxShare)
{
}

QColor MaturitiesModel::maturedColour() { return QColor(255, 205, 205); }
QColor MaturitiesModel::dueSoonColour() { return QColor(255, 240, 180); }

RowOrder MaturitiesModel::rowOrder(int column, Qt::SortOrder order) const
{
    return RowOrder(m_register, m_figures, column, order == Qt::AscendingOrder, m_basis);
}

int MaturitiesModel::columnAt(int viewColumn) const
{
    return !m_basis.showsTax() && viewColumn >= TaxColumn ? viewColumn + kTaxColumns : viewColumn;
}

int MaturitiesModel::viewColumnOf(int column) const
{
    if (m_basis.showsTax() || column < TaxColumn)
        return column;
    return column > NetInterestColumn ? column - kTaxColumns : -1;
}

void MaturitiesModel::add(const Figures& figures)
{
    m_summary.add(figures);
    m_ladder.add(figures);
}

void MaturitiesModel::remove(const Figures& figures)
{
    m_summary.remove(figures);
    m_ladder.remove(figures);
}

bool MaturitiesModel::countAll()
{
    Basis basis = m_basis;
    basis.today = m_clock.today();
    std::vector<Figures> figures;
    std::vector<qint32> order;
    {
        // Reading the rows is the first half of the work, ordering them the second.
        ProgressScope progress(m_progress, tr("Listing the maturities"));
        auto half = [&progress](int part) {
            return [&progress, part](qint64 done, qint64 total) {
                return progress.advance(part * total + done, 2 * total);
            };
        };
        if (!figuresOfRegister(m_register, basis, figures, half(0)))
            return false;
        const RowOrder byTermDate(m_register, figures, m_sortColumn, m_sortOrder == Qt::AscendingOrder,
                                  basis);
        if (!byTermDate.sortAll(order, half(1)))
            return false;
    }
    takeCount(basis, std::move(figures), std::move(order));
    follow();
    emit totalsChanged();
    return true;
}

// A fresh count in place of the old one: its figures, order, totals and ladder.
void MaturitiesModel::takeCount(const Basis& basis, std::vector<Figures> figures, std::vector<qint32> order)
{
    m_changingRows = true;
    beginResetModel();
    m_basis = basis;
    m_figures = std::move(figures);
    m_order = std::move(order);
    m_summary = summarise(m_figures, m_basis.taxShare);
    m_ladder = ladderOf(m_figures, m_basis.today);
    endResetModel();
    m_changingRows = false;
}

void MaturitiesModel::follow()
{
    // The register's row r is its views' row r - 1: the figures' index.
    connect(&m_register, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { rowsInserted(first, last); });
    connect(&m_register, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { rowsRemoved(first, last); });
    connect(&m_register, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                rowsRewritten(topLeft.row(), bottomRight.row());
            });
    connect(&m_register, &QAbstractItemModel::modelReset, this, &MaturitiesModel::recount);
    connect(&m_register, &QAbstractItemModel::layoutChanged, this, &MaturitiesModel::recount);
    connect(&m_register, &QAbstractItemModel::rowsMoved, this, &MaturitiesModel::recount);
}

// Another register, or more changed than is worth following row by row.
void MaturitiesModel::recount()
{
    if (m_busy) {
        m_recountPending = true;
        return;
    }
    m_recountPending = false;
    m_rewritten.clear();
    std::vector<Figures> figures;
    Basis basis = m_basis;
    basis.today = m_clock.today();
    figuresOfRegister(m_register, basis, figures);
    std::vector<qint32> order;
    RowOrder(m_register, figures, m_sortColumn, m_sortOrder == Qt::AscendingOrder, basis).sortAll(order);
    takeCount(basis, std::move(figures), std::move(order));
    emit totalsChanged();
}

// Rows come in front of the spare row, or after it, when the former spare
// row becomes a deposit: either way the new deposits are the rows from
// min(first, deposits before) on.
void MaturitiesModel::rowsInserted(int first, int last)
{
    const qint32 count = last - first + 1;
    if (m_busy || count > kManyRows) {
        recount();
        return;
    }
    const qint32 at = std::min(first, qint32(m_figures.size()));
    for (std::vector<qint32>* rows : {&m_order, &m_rewritten}) {
        for (qint32& row : *rows)
            row += row >= at ? count : 0;
    }
    m_figures.insert(m_figures.begin() + at, std::size_t(count), Figures{});
    for (qint32 row = at; row < at + count; ++row) {
        const Figures figures = maturities::figuresAt(m_register, row + 1, m_basis);
        m_figures[std::size_t(row)] = figures;
        add(figures);
        const int place = int(rowOrder(m_sortColumn, m_sortOrder).placeOf(m_order, row));
        m_changingRows = true;
        beginInsertRows({}, place, place);
        m_order.insert(m_order.begin() + place, row);
        endInsertRows();
        m_changingRows = false;
    }
    emit totalsChanged();
}

// Rows the register removed; when the spare row went with them, the row
// before them is the spare row now and leaves the deposits as well.
void MaturitiesModel::rowsRemoved(int first, int last)
{
    const qint32 deposits = qint32(m_figures.size());
    const qint32 from = std::max(0, last >= deposits ? first - 1 : first);
    const qint32 to = std::min(last, deposits - 1);
    if (from > to)
        return;
    const qint32 count = to - from + 1;
    if (m_busy || count > kManyRows) {
        recount();
        return;
    }
    // Renumbered first, so that every row left reads its own deposit while
    // the views are told of the rows going.
    std::vector<int> gone;
    for (std::size_t place = 0; place < m_order.size(); ++place) {
        qint32& row = m_order[place];
        if (row > to) {
            row -= count;
        } else if (row >= from) {
            row = -1;
            gone.push_back(int(place));
        }
    }
    std::erase_if(m_rewritten, [&](qint32 row) { return row >= from && row <= to; });
    for (qint32& row : m_rewritten)
        row -= row > to ? count : 0;
    for (qint32 row = from; row <= to; ++row)
        remove(m_figures[std::size_t(row)]);
    m_figures.erase(m_figures.begin() + from, m_figures.begin() + to + 1);
    m_changingRows = true;
    for (auto place = gone.rbegin(); place != gone.rend(); ++place) {
        beginRemoveRows({}, *place, *place);
        m_order.erase(m_order.begin() + *place);
        endRemoveRows();
    }
    m_changingRows = false;
    emit totalsChanged();
}

void MaturitiesModel::rowsRewritten(int first, int last)
{
    if (m_busy) {
        m_recountPending = true;
        return;
    }
    const int end = std::min(last, int(m_figures.size()) - 1);  // the spare row is no deposit
    for (qint32 row = first; row <= end && !m_recountPending; ++row) {
        if (std::find(m_rewritten.begin(), m_rewritten.end(), row) != m_rewritten.end())
            continue;
        m_rewritten.push_back(row);
        if (qint32(m_rewritten.size()) > kManyRows) {
            m_rewritten.clear();
            m_recountPending = true;
        }
    }
    if (first <= end)
        catchUpSoon();
}

void MaturitiesModel::catchUpSoon()
{
    if (m_catchUpQueued)
        return;
    m_catchUpQueued = true;
    QMetaObject::invokeMethod(this, &MaturitiesModel::catchUp, Qt::QueuedConnection);
}

void MaturitiesModel::catchUp()
{
    m_catchUpQueued = false;
    if (m_busy) {
        catchUpSoon();
        return;
    }
    if (m_recountPending) {
        recount();
        return;
    }
    if (m_rewritten.empty())
        return;
    std::vector<qint32> rewritten;
    rewritten.swap(m_rewritten);
    for (const qint32 row : rewritten)
        countAgain(row);
    emit totalsChanged();
}

// A rewritten deposit: its figures in the totals again, its row moved to
// where it sorts now.
void MaturitiesModel::countAgain(qint32 row)
{
    Figures& figures = m_figures[std::size_t(row)];
    remove(figures);
    figures = maturities::figuresAt(m_register, row + 1, m_basis);
    add(figures);

    const RowOrder order = rowOrder(m_sortColumn, m_sortOrder);
    const auto begin = m_order.begin();
    const int at = int(std::find(begin, m_order.end(), row) - begin);
    const std::span<const qint32> rows(m_order);
    int place = at;
    if (at > 0 && order.before(row, rows[std::size_t(at - 1)]))
        place = int(order.placeOf(rows.first(std::size_t(at)), row));
    else if (at + 1 < int(rows.size()) && order.before(rows[std::size_t(at + 1)], row))
        place = at + 1 + int(order.placeOf(rows.subspan(std::size_t(at + 1)), row));
    if (place != at) {
        m_changingRows = true;
        beginMoveRows({}, at, at, {}, place);
        if (place < at)
            std::rotate(begin + place, begin + at, begin + at + 1);
        else
            std::rotate(begin + at, begin + at + 1, begin + place);
        endMoveRows();
        m_changingRows = false;
    }
    const int shown = place > at ? place - 1 : place;
    emit dataChanged(index(shown, 0), index(shown, columnCount() - 1));
}

void MaturitiesModel::recountIfNewDay()
{
    if (m_busy || m_clock.today() == m_basis.today)
        return;
    catchUp();  // a recount there counts for today already
    const QDate today = m_clock.today();
    if (today == m_basis.today)
        return;
    // Only the days, the values today and what follows from them change.
    m_basis.today = today;
    countValuesToday(m_register, m_basis, m_figures);
    m_summary = summarise(m_figures, m_basis.taxShare);
    m_ladder = ladderOf(m_figures, m_basis.today);
    if (!m_order.empty()) {
        if (dependsOnTheDay(m_sortColumn))
            sortAgain();
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
    emit totalsChanged();
}

// The rows in the order of the sort column's values now, without progress:
// for a change that is not the user's sort.
void MaturitiesModel::sortAgain()
{
    std::vector<qint32> order;
    rowOrder(m_sortColumn, m_sortOrder).sortAll(order);
    reorder(std::move(order));
}

void MaturitiesModel::setTaxShare(int taxShare)
{
    taxShare = std::max(0, taxShare);
    if (taxShare == m_basis.taxShare || m_busy)
        return;
    catchUp();
    const bool wasShown = m_basis.showsTax();
    const bool shown = taxShare > 0;
    if (wasShown && !shown) {
        // Tax and net interest run with the interest.
        if (m_sortColumn == TaxColumn || m_sortColumn == NetInterestColumn) {
            m_sortColumn = InterestColumn;
            sortAgain();
        }
        beginRemoveColumns({}, TaxColumn, NetInterestColumn);
        m_basis.taxShare = taxShare;
        endRemoveColumns();
    } else if (!wasShown && shown) {
        beginInsertColumns({}, TaxColumn, NetInterestColumn);
        m_basis.taxShare = taxShare;
        endInsertColumns();
    } else {
        m_basis.taxShare = taxShare;
        if (m_sortColumn == TaxColumn || m_sortColumn == NetInterestColumn)
            sortAgain();
        if (!m_order.empty())
            emit dataChanged(index(0, TaxColumn), index(rowCount() - 1, NetInterestColumn));
    }
    m_summary = summarise(m_figures, m_basis.taxShare);
    emit totalsChanged();
}

bool MaturitiesModel::sortRows(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= maturities::ColumnCount || viewColumnOf(column) < 0)
        return false;
    catchUp();
    if (column == m_sortColumn && order == m_sortOrder)
        return true;
    std::vector<qint32> sorted;
    bool done = false;
    {
        ProgressScope progress(m_progress,
                               tr("Sorting the maturities by %1").arg(maturities::headerText(column)));
        m_busy = true;
        done = rowOrder(column, order).sortAll(sorted, [&progress](qint64 part, qint64 total) {
            return progress.advance(part, total);
        });
        m_busy = false;
    }
    if (done) {
        m_sortColumn = column;
        m_sortOrder = order;
    }
    // The register changed while the progress was shown: its rows are all counted again.
    if (m_recountPending) {
        recount();
        return done;
    }
    if (done)
        reorder(std::move(sorted));
    if (!m_rewritten.empty())
        catchUpSoon();
    return done;
}

// The rows in another order; persistent indexes (the view's current row and
// selection) stay on their deposits.
void MaturitiesModel::reorder(std::vector<qint32>&& order)
{
    m_changingRows = true;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<qint32> rows;
    rows.reserve(std::size_t(before.size()));
    for (const QModelIndex& i : before)
        rows.push_back(m_order[std::size_t(i.row())]);
    m_order = std::move(order);
    // Where each row went: looked up one by one for the few a view keeps, at once for many.
    std::vector<qint32> placeOf;
    if (before.size() > 16) {
        placeOf.resize(m_figures.size());
        for (std::size_t place = 0; place < m_order.size(); ++place)
            placeOf[std::size_t(m_order[place])] = qint32(place);
    }
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        const qint32 row = rows[std::size_t(i)];
        const int place = placeOf.empty()
                              ? int(std::find(m_order.begin(), m_order.end(), row) - m_order.begin())
                              : placeOf[std::size_t(row)];
        after << index(place, before[i].column());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    m_changingRows = false;
}

int MaturitiesModel::rowOfRegisterRow(int registerRow) const
{
    const auto place = std::find(m_order.begin(), m_order.end(), registerRow - 1);
    return place == m_order.end() ? -1 : int(place - m_order.begin());
}

int MaturitiesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_order.size());
}

int MaturitiesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : maturities::ColumnCount - (m_basis.showsTax() ? 0 : kTaxColumns);
}

QVariant MaturitiesModel::data(const QModelIndex& index, int role) const
{
    // A row being removed has left the register already.
    if (!index.isValid() || m_order.at(std::size_t(index.row())) < 0)
        return {};
    const Figures& figures = shownFigures(index.row());
    const State state = figures.state(m_basis.today);
    const int column = columnAt(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return maturities::text(figures, column, m_basis, m_register, registerRowAt(index.row()));
    case Qt::BackgroundRole:
        if (state == State::Matured)
            return maturedColour();
        if (state == State::DueSoon)
            return dueSoonColour();
        return {};
    case Qt::ForegroundRole:
        // Dark text on the tints, whatever the palette.
        if (state == State::Matured || state == State::DueSoon)
            return QColor(Qt::black);
        return {};
    case Qt::TextAlignmentRole:
        switch (column) {
        case DaysColumn:
        case BalanceColumn:
        case ValueTodayColumn:
        case InterestSoFarColumn:
        case FutureValueColumn:
        case InterestColumn:
        case TaxColumn:
        case NetInterestColumn:
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
        return maturities::headerText(columnAt(section));
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace td
