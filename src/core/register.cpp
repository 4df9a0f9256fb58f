#include "register.h"

#include "account_key.h"
#include "deposit_file_format.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <numeric>

namespace td {

using namespace deposit_file;

namespace {

// Removed rows leave their records behind; the block is rebuilt without them
// once they are the larger part of it, and large enough to matter.
constexpr qsizetype kCompactAtUnusedRecords = 10'000;

}  // namespace

Register::Register(QObject* parent) : QAbstractTableModel(parent)
{
    m_order.push_back(storeDeposit({}));
    for (int c = 0; c < ColumnCount; ++c)
        m_colWidths[c] = kColumns[c].widthTwips;
}

void Register::rowsChanged()
{
    m_changingRows = false;
    m_row = std::min(m_row, rows() - 1);
    emit currentCellChanged(m_row, m_col);
}

bool Register::setRows(int n)
{
    if (n < 2)
        return false;
    if (n < rows())
        eraseRows(n, rows() - 1);
    while (rows() < n)
        insertAt(rows(), storeDeposit({}));
    return true;
}

bool Register::setRow(int row) { return setCurrentCell(row, m_col); }

bool Register::setCol(int col) { return setCurrentCell(m_row, col); }

bool Register::setCurrentCell(int row, int col)
{
    if (!inTable(row, col))
        return false;
    if (row != m_row || col != m_col) {
        m_row = row;
        m_col = col;
        emit currentCellChanged(m_row, m_col);
    }
    return true;
}

QString Register::cell(int row, int col) const
{
    if (!inTable(row, col))
        return {};
    if (row == 0)
        return m_header[col];
    const RowRef ref = refOf(row);
    return isTexts(ref) ? m_texts[slot(ref)][col] : fieldText(m_records.record(ref), col);
}

void Register::setCell(int row, int col, const QString& text)
{
    if (!inTable(row, col) || cell(row, col) == text)
        return;
    if (row == 0) {
        m_header[col] = text;
        emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    RowRef& ref = refOf(row);
    char encoded[kRecordSize];
    if (isTexts(ref)) {
        m_texts[slot(ref)][col] = text;
    } else if (encodeField(text, encoded, col)) {
        std::memcpy(m_records.record(ref) + fieldOffset(col), encoded + fieldOffset(col), fieldWidth(col));
    } else {
        DepositRecord texts = record(row);
        texts[col] = text;
        const RowRef old = ref;
        ref = storeTexts(std::move(texts));
        release(old);
    }
    const QModelIndex i = index(viewRow(row), col);
    emit dataChanged(i, i, {Qt::DisplayRole});
}

DepositRecord Register::record(int row) const
{
    DepositRecord record;
    for (int c = 0; c < ColumnCount; ++c)
        record[c] = cell(row, c);
    return record;
}

int Register::findAccount(const QString& key, int fromRow, Qt::CaseSensitivity cs) const
{
    const AccountKey wanted(key, cs);
    int row = std::max(fromRow, 0);
    if (row == 0) {
        if (wanted.matchesText(m_header[AccountNumber]))
            return 0;
        ++row;
    }
    for (; row < rows(); ++row) {
        const RowRef ref = refOf(row);
        const bool match = isTexts(ref)
                               ? wanted.matchesText(m_texts[slot(ref)][AccountNumber])
                               : wanted.matchesField(m_records.record(ref) + fieldOffset(AccountNumber));
        if (match)
            return row;
    }
    return -1;
}

bool Register::removeDeposit(int row)
{
    if (row <= 0 || row >= rows() - 1)
        return false;
    eraseRows(row, row);
    return true;
}

void Register::eraseRows(int first, int last)
{
    m_changingRows = true;
    beginRemoveRows({}, viewRow(first), viewRow(last));
    for (int r = first; r <= last; ++r)
        release(refOf(r));
    m_order.erase(m_order.begin() + (first - 1), m_order.begin() + last);
    endRemoveRows();
    compactIfSparse();
    rowsChanged();
}

void Register::appendDeposit(const DepositRecord& record) { insertAt(rows() - 1, storeDeposit(record)); }

Register::KeptRow Register::keptRow(int row) const
{
    if (row <= 0 || row >= rows())
        return DepositRecord();
    const RowRef ref = refOf(row);
    if (isTexts(ref))
        return m_texts[slot(ref)];
    std::array<char, kRecordSize> record;
    std::memcpy(record.data(), m_records.record(ref), kRecordSize);
    return record;
}

Register::KeptRow Register::keptRowOf(const DepositRecord& texts)
{
    std::array<char, kRecordSize> record;
    bool exact = true;
    for (int c = 0; c < ColumnCount; ++c)
        exact = encodeField(texts[c], record.data(), c) && exact;
    if (!exact)
        return texts;
    record[kRecordEndOffset] = kRecordEnd;
    return record;
}

bool Register::insertKeptRow(int row, const KeptRow& kept)
{
    if (row <= 0 || row >= rows())
        return false;
    insertAt(row, store(kept));
    return true;
}

bool Register::overwriteRow(int row, const KeptRow& kept)
{
    if (row <= 0 || row >= rows() - 1)
        return false;
    RowRef& ref = refOf(row);
    const auto* record = std::get_if<std::array<char, kRecordSize>>(&kept);
    if (record && !isTexts(ref)) {
        std::memcpy(m_records.record(ref), record->data(), kRecordSize);
    } else {
        const RowRef old = ref;
        ref = store(kept);
        release(old);
    }
    emit dataChanged(index(viewRow(row), 0), index(viewRow(row), ColumnCount - 1), {Qt::DisplayRole});
    return true;
}

void Register::insertAt(int at, RowRef ref)
{
    // Room first, so that nothing can fail between the views' begin and end.
    if (m_order.size() == m_order.capacity())
        m_order.reserve(2 * m_order.size());
    m_changingRows = true;
    beginInsertRows({}, viewRow(at), viewRow(at));
    m_order.insert(m_order.begin() + (at - 1), ref);
    endInsertRows();
    rowsChanged();
}

bool Register::replaceDeposits(RecordBlock&& records)
{
    // Rows are counted in an int, records in 31 bits of an index entry.
    if (records.size() > std::numeric_limits<int>::max() - 2)
        return false;
    std::vector<RowRef> order;
    try {
        records.reserveBytes(records.bytes() + kRecordSize);
        blankRecord(records.appendRecord());  // the spare row
        order.resize(static_cast<std::size_t>(records.size()));
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::iota(order.begin(), order.end(), RowRef(0));
    m_changingRows = true;
    beginResetModel();
    m_order = std::move(order);
    m_records = std::move(records);
    m_unusedRecords = 0;
    m_texts.clear();
    m_freeTexts.clear();
    endResetModel();
    rowsChanged();
    return true;
}

bool Register::heldAsRecord(int row) const { return row > 0 && row < rows() && !isTexts(refOf(row)); }

QByteArrayView Register::fileRecords(int firstRow, int maxRows, char* scratch) const
{
    const int last = std::min(rows() - 1, firstRow + maxRows - 1);
    if (firstRow < 1 || firstRow > last)
        return {};
    const RowRef first = refOf(firstRow);
    if (!isTexts(first)) {
        int end = firstRow + 1;
        while (end <= last && refOf(end) == first + RowRef(end - firstRow))
            ++end;
        // A short run is gathered with the rows after it instead.
        if (end - firstRow >= 64 || end > last)
            return QByteArrayView(m_records.record(first), qsizetype(end - firstRow) * kRecordSize);
    }
    char* out = scratch;
    for (int r = firstRow; r <= last; ++r, out += kRecordSize) {
        const RowRef ref = refOf(r);
        if (!isTexts(ref)) {
            std::memcpy(out, m_records.record(ref), kRecordSize);
            continue;
        }
        for (int c = 0; c < ColumnCount; ++c)
            encodeField(m_texts[slot(ref)][c], out, c);
        out[kRecordEndOffset] = kRecordEnd;
    }
    return QByteArrayView(scratch, out - scratch);
}

Register::RowRef Register::storeTexts(DepositRecord&& texts)
{
    if (m_freeTexts.empty()) {
        m_texts.push_back(std::move(texts));
        return static_cast<RowRef>(m_texts.size() - 1) | kTextsFlag;
    }
    const RowRef ref = m_freeTexts.back();
    m_freeTexts.pop_back();
    m_texts[slot(ref)] = std::move(texts);
    return ref;
}

Register::RowRef Register::storeDeposit(const DepositRecord& record) { return store(keptRowOf(record)); }

Register::RowRef Register::store(const KeptRow& kept)
{
    const auto* record = std::get_if<std::array<char, kRecordSize>>(&kept);
    if (!record)
        return storeTexts(DepositRecord(std::get<DepositRecord>(kept)));
    std::memcpy(m_records.appendRecord(), record->data(), kRecordSize);
    return static_cast<RowRef>(m_records.size() - 1);
}

void Register::release(RowRef ref)
{
    if (isTexts(ref)) {
        m_texts[slot(ref)] = {};
        m_freeTexts.push_back(ref);
    } else {
        ++m_unusedRecords;
    }
}

void Register::compactIfSparse()
{
    if (m_unusedRecords < kCompactAtUnusedRecords || m_unusedRecords * 2 < m_records.size())
        return;
    try {
        RecordBlock kept;
        kept.reserveBytes((m_records.size() - m_unusedRecords) * kRecordSize);
        for (RowRef& ref : m_order) {
            if (isTexts(ref))
                continue;
            std::memcpy(kept.appendRecord(), m_records.record(ref), kRecordSize);
            ref = static_cast<RowRef>(kept.size() - 1);
        }
        m_records = std::move(kept);
        m_unusedRecords = 0;
    } catch (const std::bad_alloc&) {
        // Without room for a smaller copy the unused records simply stay.
    }
}

void Register::setColWidth(int col, int twips)
{
    if (col < 0 || col >= ColumnCount || m_colWidths[col] == twips)
        return;
    m_colWidths[col] = std::max(0, twips);
    emit colWidthChanged(col);
}

int Register::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows() - 1; }

int Register::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant Register::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    return cell(registerRow(index.row()), index.column());
}

QVariant Register::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && (role == Qt::DisplayRole || role == Qt::AccessibleTextRole))
        return cell(0, section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace td
