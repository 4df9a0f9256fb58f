#include "register.h"

#include "packed_row.h"

#include <algorithm>

namespace td {

Register::Register(QObject* parent) : QObject(parent), m_rows(2)
{
    for (int c = 0; c < ColumnCount; ++c)
        m_colWidths[c] = kColumns[c].widthTwips;
}

bool Register::setRows(int n)
{
    if (n < 2)
        return false;
    const int old = rows();
    if (n > old) {
        emit rowsAboutToBeInserted(old, n - 1);
        m_rows.resize(n);
        emit rowsInserted();
    } else if (n < old) {
        emit rowsAboutToBeRemoved(n, old - 1);
        m_rows.resize(n);
        emit rowsRemoved();
        clampCurrentCell();
    }
    return true;
}

bool Register::setRow(int row) { return setCurrentCell(row, m_col); }

bool Register::setCol(int col) { return setCurrentCell(m_row, col); }

bool Register::setCurrentCell(int row, int col)
{
    if (row < 0 || row >= rows() || col < 0 || col >= ColumnCount)
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
    if (row < 0 || row >= rows() || col < 0 || col >= ColumnCount)
        return {};
    return packed_row::text(m_rows[row], col);
}

void Register::setCell(int row, int col, const QString& text)
{
    if (row < 0 || row >= rows() || col < 0 || col >= ColumnCount)
        return;
    QByteArray& r = m_rows[row];
    if (packed_row::field(r, col) == QByteArrayView(text.toUtf8()))
        return;
    r = packed_row::withField(r, col, text);
    emit cellChanged(row, col);
}

DepositRecord Register::record(int row) const
{
    DepositRecord record;
    for (int c = 0; c < ColumnCount; ++c)
        record[c] = cell(row, c);
    return record;
}

bool Register::removeRow(int row)
{
    if (row <= 0 || row >= rows() - 1)
        return false;
    emit rowsAboutToBeRemoved(row, row);
    m_rows.erase(m_rows.begin() + row);
    emit rowsRemoved();
    clampCurrentCell();
    return true;
}

void Register::appendDeposit(const DepositRecord& record)
{
    const int at = rows() - 1;
    emit rowsAboutToBeInserted(at, at);
    m_rows.insert(m_rows.begin() + at, packed_row::pack(record.texts));
    emit rowsInserted();
}

void Register::replaceDeposits(std::vector<QByteArray>&& packedDepositRows)
{
    emit aboutToReset();
    QByteArray header = std::move(m_rows.front());
    m_rows = std::move(packedDepositRows);
    m_rows.insert(m_rows.begin(), std::move(header));
    m_rows.emplace_back();
    m_rows.shrink_to_fit();
    clampCurrentCell();
    emit resetDone();
}

void Register::setColWidth(int col, int twips)
{
    if (col < 0 || col >= ColumnCount || m_colWidths[col] == twips)
        return;
    m_colWidths[col] = std::max(0, twips);
    emit colWidthChanged(col);
}

void Register::clampCurrentCell()
{
    const int row = std::min(m_row, rows() - 1);
    if (row != m_row) {
        m_row = row;
        emit currentCellChanged(m_row, m_col);
    }
}

}  // namespace td
