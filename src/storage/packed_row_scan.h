#pragma once

#include "core/columns.h"
#include "core/packed_row.h"

#include <QByteArray>
#include <cstdint>
#include <cstring>

namespace td::packed_row_scan {

// Whether every text of a packed row is plain ASCII: the only bytes with the
// high bit set are then its nine separators (UTF-8 never uses 0xFF).
inline bool isAscii(const QByteArray& row)
{
    const char* p = row.constData();
    const qsizetype size = row.size();
    // Sixteen words at a time, each byte lane of the sum counts the high bits
    // of its lane (at most 16), and the lanes are then added in the top byte.
    std::uint64_t high = 0;
    qsizetype i = 0;
    while (i + 8 <= size) {
        std::uint64_t lanes = 0;
        for (int w = 0; w < 16 && i + 8 <= size; ++w, i += 8) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            lanes += (word >> 7) & 0x0101010101010101ULL;
        }
        high += (lanes * 0x0101010101010101ULL) >> 56;
        if (high > ColumnCount - 1)
            return false;
    }
    for (; i < size; ++i)
        high += static_cast<std::uint8_t>(p[i]) >> 7;
    return high == ColumnCount - 1;
}

// Calls f(column, begin, end) for each of the ten texts of a packed row; a
// blank row has ten empty texts.
template <typename F>
inline void forEachField(const QByteArray& row, F&& f)
{
    const char* p = row.constData();
    const char* const end = p + row.size();
    for (int c = 0; c < ColumnCount; ++c) {
        const char* stop =
            p < end ? static_cast<const char*>(std::memchr(p, packed_row::kSeparator, end - p)) : nullptr;
        if (!stop)
            stop = end;
        f(c, p, stop);
        p = stop < end ? stop + 1 : end;
    }
}

}  // namespace td::packed_row_scan
