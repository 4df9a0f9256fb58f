#include "recovery_pieces.h"

#include <algorithm>

namespace td {

namespace {

bool own(const RowPieces::Piece& p) { return p.baseStart == RowPieces::kOwn; }

// Two pieces that read as one: both the register's own, or base records that follow on.
bool joins(const RowPieces::Piece& a, const RowPieces::Piece& b)
{
    return own(a) ? own(b) : !own(b) && a.baseStart + a.length == b.baseStart;
}

}  // namespace

void RowPieces::resetOwn(qint64 rows) { resetBase(0, rows); }

void RowPieces::resetBase(qint64 baseRows, qint64 ownRows)
{
    m_pieces.clear();
    if (baseRows > 0)
        m_pieces.push_back({0, baseRows});
    if (ownRows > 0)
        m_pieces.push_back({kOwn, ownRows});
    m_rows = baseRows + ownRows;
}

void RowPieces::assign(const std::vector<Piece>& pieces)
{
    m_pieces.clear();
    m_rows = 0;
    for (const Piece& p : pieces) {
        if (p.length <= 0)
            continue;
        if (!m_pieces.empty() && joins(m_pieces.back(), p))
            m_pieces.back().length += p.length;
        else
            m_pieces.push_back(p);
        m_rows += p.length;
    }
    limit();
}

bool RowPieces::hasBase() const
{
    return std::any_of(m_pieces.begin(), m_pieces.end(), [](const Piece& p) { return !own(p); });
}

std::size_t RowPieces::split(qint64 at)
{
    qint64 start = 0;
    for (std::size_t i = 0; i < m_pieces.size(); ++i) {
        if (start == at)
            return i;
        const Piece p = m_pieces[i];
        if (at < start + p.length) {
            const qint64 head = at - start;
            m_pieces[i].length = head;
            const Piece tail{own(p) ? kOwn : p.baseStart + head, p.length - head};
            m_pieces.insert(m_pieces.begin() + std::ptrdiff_t(i) + 1, tail);
            return i + 1;
        }
        start += p.length;
    }
    return m_pieces.size();
}

void RowPieces::mergeAround(std::size_t index)
{
    // The piece before index, the one at it and the one after may now join.
    std::size_t i = index > 0 ? index - 1 : 0;
    for (int step = 0; step < 2 && i + 1 < m_pieces.size(); ++step) {
        if (joins(m_pieces[i], m_pieces[i + 1])) {
            m_pieces[i].length += m_pieces[i + 1].length;
            m_pieces.erase(m_pieces.begin() + std::ptrdiff_t(i) + 1);
        } else {
            ++i;
        }
    }
}

void RowPieces::insert(qint64 at, qint64 count)
{
    if (count <= 0 || at < 0 || at > m_rows)
        return;
    const std::size_t i = split(at);
    m_pieces.insert(m_pieces.begin() + std::ptrdiff_t(i), Piece{kOwn, count});
    m_rows += count;
    mergeAround(i);
    limit();
}

void RowPieces::remove(qint64 at, qint64 count)
{
    count = std::min(count, m_rows - at);
    if (count <= 0 || at < 0)
        return;
    const std::size_t first = split(at);
    const std::size_t last = split(at + count);
    m_pieces.erase(m_pieces.begin() + std::ptrdiff_t(first), m_pieces.begin() + std::ptrdiff_t(last));
    m_rows -= count;
    mergeAround(first);
    limit();
}

void RowPieces::change(qint64 at, qint64 count)
{
    count = std::min(count, m_rows - at);
    if (count <= 0 || at < 0)
        return;
    const std::size_t first = split(at);
    const std::size_t last = split(at + count);
    m_pieces.erase(m_pieces.begin() + std::ptrdiff_t(first) + 1, m_pieces.begin() + std::ptrdiff_t(last));
    m_pieces[first] = {kOwn, count};
    mergeAround(first);
    limit();
}

void RowPieces::limit()
{
    if (m_pieces.size() > kMaxPieces)
        resetOwn(m_rows);
}

}  // namespace td
