#pragma once

#include "columns.h"

#include <QString>
#include <QStringView>
#include <array>

namespace td::deposit_file {

// A deposit file is a run of 100-byte records, one per deposit, with no header:
// the ten fields of the columns, left-aligned and space-filled in Windows-1252,
// then one carriage return.
inline constexpr int kRecordSize = 100;
inline constexpr char kRecordEnd = '\r';
inline constexpr int kRecordEndOffset = kRecordSize - 1;

inline constexpr std::array<int, ColumnCount + 1> kFieldOffsets = [] {
    std::array<int, ColumnCount + 1> offsets{};
    for (int c = 0; c < ColumnCount; ++c)
        offsets[c + 1] = offsets[c] + kColumns[c].fileWidth;
    return offsets;
}();

static_assert(kFieldOffsets[ColumnCount] == kRecordEndOffset, "the fields fill a record up to its last byte");

inline constexpr int fieldOffset(int column) { return kFieldOffsets[column]; }
inline constexpr int fieldWidth(int column) { return kColumns[column].fileWidth; }

// The text a field reads as: its characters without the spaces at either end.
QString fieldText(const char* record, int column);

// Writes text into the field as a save does: in Windows-1252 ("?" for a
// character it cannot hold), cut at the width, space-filled. True when the
// field reads back as the same text.
bool encodeField(QStringView text, char* record, int column);

// A record as a save would write it: every field left-aligned, byte 99 a
// carriage return. Its texts read the same as before.
void normaliseRecord(char* record);

// A record of blank fields.
void blankRecord(char* record);

}  // namespace td::deposit_file
