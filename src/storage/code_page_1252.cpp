#include "code_page_1252.h"

namespace td::cp1252 {

namespace {

// 0x80-0x9F; the undefined bytes map to themselves.
constexpr std::array<char16_t, 32> kHigh{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char32_t decode(std::uint8_t byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte;
}

constexpr std::array<Utf8Char, 256> makeUtf8Table()
{
    std::array<Utf8Char, 256> table{};
    for (int b = 0; b < 256; ++b) {
        const char32_t c = decode(static_cast<std::uint8_t>(b));
        Utf8Char& u = table[b];
        if (c < 0x80) {
            u = {1, {static_cast<char>(c), 0, 0}};
        } else if (c < 0x800) {
            u = {2, {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F)), 0}};
        } else {
            u = {3,
                 {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                  static_cast<char>(0x80 | (c & 0x3F))}};
        }
    }
    return table;
}

constexpr std::array<Utf8Char, 256> kUtf8 = makeUtf8Table();

}  // namespace

char32_t toUnicode(std::uint8_t byte) { return decode(byte); }

const std::array<Utf8Char, 256>& utf8Table() { return kUtf8; }

int fromUnicode(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<int>(codePoint);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == codePoint)
            return 0x80 + i;
    }
    return -1;
}

int fromUtf8(const char*& p, const char* end)
{
    const auto lead = static_cast<std::uint8_t>(*p++);
    if (lead < 0x80)
        return lead;
    int length = 0;
    char32_t c = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 1;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 2;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 3;
        c = lead & 0x07;
    } else {
        return -1;
    }
    for (int i = 0; i < length; ++i) {
        if (p == end || (static_cast<std::uint8_t>(*p) & 0xC0) != 0x80)
            return -1;
        c = (c << 6) | (static_cast<std::uint8_t>(*p++) & 0x3F);
    }
    // Overlong forms would let two byte sequences stand for one character.
    static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (c < kLeast[length])
        return -1;
    return fromUnicode(c);
}

}  // namespace td::cp1252
