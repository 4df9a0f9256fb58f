#pragma once

#include "core/columns.h"
#include "core/packed_row.h"

#include <QByteArray>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace td::packed_row_scan {

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

// A short ASCII row split in one pass: its bytes copied where wide loads may
// run past them, and where each of its ten texts begins and ends.
inline constexpr int kShortRow = 128;

struct ShortAsciiRow {
    alignas(16) char bytes[kShortRow + 32];
    std::array<int, ColumnCount> begin;
    std::array<int, ColumnCount> end;
};

// False for a row that is blank, longer than kShortRow or not ASCII: the
// caller takes the general way.
inline bool splitShortAscii(const QByteArray& row, ShortAsciiRow& out)
{
#ifdef __SSE2__
    const auto size = static_cast<int>(row.size());
    if (size == 0 || size > kShortRow)
        return false;
    std::memcpy(out.bytes, row.constData(), size);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out.bytes + size), _mm_setzero_si128());
    using Bits = unsigned __int128;
    Bits separators = 0;
    Bits high = 0;
    const __m128i separator = _mm_set1_epi8(packed_row::kSeparator);
    for (int i = 0; i * 16 < size; ++i) {
        const __m128i v = _mm_load_si128(reinterpret_cast<const __m128i*>(out.bytes + 16 * i));
        separators |= Bits(std::uint16_t(_mm_movemask_epi8(_mm_cmpeq_epi8(v, separator)))) << (16 * i);
        high |= Bits(std::uint16_t(_mm_movemask_epi8(v))) << (16 * i);
    }
    if (separators != high)
        return false;  // a byte above ASCII that is not a separator
    int begin = 0;
    for (int c = 0; c < ColumnCount - 1; ++c) {
        if (separators == 0)
            return false;
        const auto low = std::uint64_t(separators);
        const int at = low ? __builtin_ctzll(low) : 64 + __builtin_ctzll(std::uint64_t(separators >> 64));
        out.begin[c] = begin;
        out.end[c] = at;
        begin = at + 1;
        separators &= separators - 1;
    }
    out.begin[ColumnCount - 1] = begin;
    out.end[ColumnCount - 1] = size;
    return separators == 0;
#else
    (void)row;
    (void)out;
    return false;
#endif
}

}  // namespace td::packed_row_scan
