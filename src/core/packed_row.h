#pragma once

#include "columns.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>

namespace td {

// A register row kept compact: the ten texts as UTF-8 in one buffer, separated
// by 0xFF, a byte that UTF-8 never uses. An empty buffer is a blank row and
// costs no allocation. Texts are decoded to QString only when asked for.
namespace packed_row {

inline constexpr char kSeparator = '\xFF';

QByteArray pack(const std::array<QString, ColumnCount>& texts);
QByteArray packUtf8(const std::array<QByteArrayView, ColumnCount>& utf8Texts);
QByteArrayView field(const QByteArray& row, int column);
inline QString text(const QByteArray& row, int column) { return QString::fromUtf8(field(row, column)); }
QByteArray withField(const QByteArray& row, int column, const QString& text);
bool isBlank(const QByteArray& row);

}  // namespace packed_row
}  // namespace td
