#pragma once

#include <cstdint>

namespace td::cp1252 {

// Windows-1252, the code page of deposit files. Bytes 0x00-0x7F and 0xA0-0xFF
// are the code points of the same number; 0x80-0x9F hold typographic marks.
// The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// stand for the control characters of the same number, so every byte value
// reads as some character and writes back as the same byte.

char16_t toUnicode(std::uint8_t byte);

// The byte for a code point, or -1 when the code page cannot hold it.
int fromUnicode(char32_t codePoint);

// Written in place of a character that the code page cannot hold.
inline constexpr char kReplacement = '?';

}  // namespace td::cp1252
