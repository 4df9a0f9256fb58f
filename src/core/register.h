#pragma once

#include "columns.h"
#include "deposit_file_format.h"
#include "deposit_record.h"
#include "record_block.h"

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <variant>
#include <vector>

namespace td {

// The table of deposits: 10 text columns, header row 0, deposit rows 1 to
// rows() - 2 and a blank spare row last, plus the current cell through which
// the commands read and write. Window-free.
//
// It is also the table model that views show: view row r is register row
// r + 1, and the header row gives the horizontal header texts.
//
// Rows are kept as deposit file records, 100 bytes each in one block, and a
// cell is decoded from its field when it is asked for. A row that a record
// cannot hold as it stands (a text longer than its field, a character outside
// the file's code page, spaces at either end) is kept as ten texts instead,
// so the register always holds what was put into it. A blank row is a record
// of spaces. The order of the rows is a small index into both, so removing a
// row moves no record.
class Register : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit Register(QObject* parent = nullptr);  // two blank rows, current cell 0,0

    int rows() const { return 1 + static_cast<int>(m_order.size()); }
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

    // The first row from fromRow on (the header row and the spare row
    // included) whose Account Number text equals key, or -1. With
    // Qt::CaseInsensitive both are compared in upper case (QString::toUpper).
    // Records are compared in their own bytes, so no cell is decoded.
    int findAccount(const QString& key, int fromRow, Qt::CaseSensitivity cs) const;

    // Removes a deposit row; the rows below move up. The header row and the
    // spare row stay. (Named apart from the model's removeRow, which it would hide.)
    bool removeDeposit(int row);

    // Adds a deposit in front of the spare row.
    void appendDeposit(const DepositRecord& record);

    // A deposit row as the register holds it: its record, or its texts
    // where a record cannot hold them. Putting it back gives the row exactly
    // as it was, without a cell decoded.
    using KeptRow = std::variant<std::array<char, deposit_file::kRecordSize>, DepositRecord>;
    KeptRow keptRow(int row) const;
    // The row that writing these texts gives.
    static KeptRow keptRowOf(const DepositRecord& texts);
    // Puts a kept row in as row `row` (1 to rows() - 1), the rows from there
    // on moving down. False, changing nothing, for a row outside that range.
    bool insertKeptRow(int row, const KeptRow& kept);
    // Writes a kept row over a deposit row; views hear of one change of the
    // whole row. False, changing nothing, for the header or spare row.
    bool overwriteRow(int row, const KeptRow& kept);
    // Replaces every deposit row at once with the records read from a file,
    // each already as a save would write it; the header row stays, a blank
    // spare row follows. One reset for views. False, with the register
    // unchanged, when there is no memory for it.
    bool replaceDeposits(RecordBlock&& records);

    // True while rows are being added, removed or replaced: views that move
    // their current index meanwhile must not move the register's.
    bool changingRows() const { return m_changingRows; }

    // False for a row kept as texts because a record cannot hold them.
    bool heldAsRecord(int row) const;
    bool everyRowHeldAsRecord() const { return m_texts.size() == m_freeTexts.size(); }
    // The record that a save writes for the rows from firstRow on: the records
    // that follow one another in the block, straight from it, or else up to
    // maxRows rows written into scratch (room for maxRows records). Never empty
    // for a row in the table.
    QByteArrayView fileRecords(int firstRow, int maxRows, char* scratch) const;

    int colWidth(int col) const { return m_colWidths.at(col); }
    void setColWidth(int col, int twips);

    static int viewRow(int registerRow) { return registerRow - 1; }
    static int registerRow(int viewRow) { return viewRow + 1; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // The current cell moved, or the row under it changed because rows came or went.
    void currentCellChanged(int row, int col);
    void colWidthChanged(int col);

private:
    // Where a row lives: a record of the block, or a slot of m_texts.
    using RowRef = quint32;
    static constexpr RowRef kTextsFlag = 0x80000000u;
    static bool isTexts(RowRef ref) { return ref & kTextsFlag; }
    static std::size_t slot(RowRef ref) { return ref & ~kTextsFlag; }

    bool inTable(int row, int col) const { return row >= 0 && row < rows() && col >= 0 && col < ColumnCount; }
    const RowRef& refOf(int row) const { return m_order[static_cast<std::size_t>(row - 1)]; }
    RowRef& refOf(int row) { return m_order[static_cast<std::size_t>(row - 1)]; }
    RowRef storeTexts(DepositRecord&& texts);
    RowRef storeDeposit(const DepositRecord& record);
    RowRef store(const KeptRow& kept);
    void release(RowRef ref);
    void insertAt(int at, RowRef ref);
    void eraseRows(int first, int last);
    void compactIfSparse();
    void rowsChanged();

    std::array<QString, ColumnCount> m_header;
    std::vector<RowRef> m_order;  // rows 1 to rows() - 1
    RecordBlock m_records;
    qsizetype m_unusedRecords = 0;
    std::vector<DepositRecord> m_texts;
    std::vector<RowRef> m_freeTexts;
    int m_row = 0;
    int m_col = 0;
    bool m_changingRows = false;
    std::array<int, ColumnCount> m_colWidths{};
};

}  // namespace td
