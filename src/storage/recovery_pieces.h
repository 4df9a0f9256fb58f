#pragma once

#include <QtGlobal>
#include <vector>

namespace td {

// Which rows of a register still hold what a file (the base) holds, and
// which have changed since: the register's rows in order as runs, each either
// records of the base, in the base's own order, or rows of the register's own
// (added or rewritten here). A recovery copy then holds only the numbers of the
// unchanged runs and the bytes of the changed rows, so that writing it after
// one change costs next to nothing however large the register is.
//
// Rows only come, go and change here, never move, so the base runs always
// follow the base's order. A register with no base is one run of its own rows.
class RowPieces {
public:
    struct Piece {
        qint64 baseStart;  // the first record of the base, or kOwn
        qint64 length;
        bool operator==(const Piece&) const = default;
    };
    static constexpr qint64 kOwn = -1;

    // Past this many runs (thousands of scattered changes) the pieces give up
    // their base and hold every row as the register's own: correct, only larger.
    static constexpr std::size_t kMaxPieces = 1 << 16;

    // All rows the register's own.
    void resetOwn(qint64 rows);
    // The first baseRows rows are the base's records 0 to baseRows - 1, then ownRows of the register's own.
    void resetBase(qint64 baseRows, qint64 ownRows);
    // Pieces as a recovery copy recorded them (merged where they touch).
    void assign(const std::vector<Piece>& pieces);

    void insert(qint64 at, qint64 count);  // new rows, the register's own
    void remove(qint64 at, qint64 count);
    void change(qint64 at, qint64 count);  // rewritten rows become the register's own

    qint64 rows() const { return m_rows; }
    bool hasBase() const;
    const std::vector<Piece>& pieces() const { return m_pieces; }

private:
    std::size_t split(qint64 at);  // a piece starts at `at`; its index
    void mergeAround(std::size_t index);
    void limit();

    std::vector<Piece> m_pieces;
    qint64 m_rows = 0;
};

}  // namespace td
