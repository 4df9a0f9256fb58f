#pragma once

#include "columns.h"
#include "deposit_record.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <array>
#include <vector>

namespace td {

// The table of deposits: 10 text columns, header row 0, deposit rows 1 to
// rows() - 2 and a blank spare row last, plus the current cell through which
// the commands read and write. Window-free; views follow it through signals.
class Register : public QObject {
    Q_OBJECT

public:
    explicit Register(QObject* parent = nullptr);  // two blank rows, current cell 0,0

    int rows() const { return static_cast<int>(m_rows.size()); }
    // Rows at or beyond n are dropped; new rows are blank. Refused below 2.
    bool setRows(int n);
    int depositCount() const { return rows() - 2; }

    int row() const { return m_row; }
    int col() const { return m_col; }
    // An index outside the table is refused: the current cell stays and false is returned.
    bool setRow(int row);
    bool setCol(int col);
    bool setCurrentCell(int row, int col);

    QString text() const { return cell(m_row, m_col); }
    void setText(const QString& text) { setCell(m_row, m_col, text); }

    QString cell(int row, int col) const;
    void setCell(int row, int col, const QString& text);
    DepositRecord record(int row) const;
    const QByteArray& packedRow(int row) const { return m_rows.at(row); }

    // Removes a row; the rows below move up. The header row and the spare row stay.
    bool removeRow(int row);

    // Adds a deposit in front of the spare row (bulk loading and tests).
    void appendDeposit(const DepositRecord& record);
    // Replaces every deposit row at once with packed rows (see packed_row.h);
    // the header row stays, a blank spare row follows. One reset for views.
    void replaceDeposits(std::vector<QByteArray>&& packedDepositRows);

    int colWidth(int col) const { return m_colWidths.at(col); }
    void setColWidth(int col, int twips);

    // The selection test of Delete and Amortise, minus the busy check: a deposit
    // row exists and the current cell's text, trimmed, is not empty.
    bool currentCellHoldsText() const { return rows() > 2 && !text().trimmed().isEmpty(); }

signals:
    void rowsAboutToBeInserted(int first, int last);
    void rowsInserted();
    void rowsAboutToBeRemoved(int first, int last);
    void rowsRemoved();
    void aboutToReset();
    void resetDone();
    void cellChanged(int row, int col);
    void colWidthChanged(int col);
    void currentCellChanged(int row, int col);

private:
    void clampCurrentCell();

    std::vector<QByteArray> m_rows;
    int m_row = 0;
    int m_col = 0;
    std::array<int, ColumnCount> m_colWidths{};
};

}  // namespace td
