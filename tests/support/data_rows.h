#pragma once

#include <QString>
#include <QTest>

#include <type_traits>

namespace td::test {

namespace detail {

// A cell of a data row as its column holds it: a string literal becomes a
// QString, as QTestData makes it; anything else, a QByteArray too, stays as it is.
template <typename T>
decltype(auto) rowCell(const T& value)
{
    if constexpr (std::is_same_v<std::decay_t<T>, char*> || std::is_same_v<std::decay_t<T>, const char*>)
        return QString::fromUtf8(value);
    else
        return (value);
}

}  // namespace detail

// Adds one row to the table of a data-driven test, its values in column
// order, so that each case reads as one line. QtTest still checks each value
// against its column's type.
template <typename... Values>
void dataRow(const char* tag, const Values&... values)
{
    QTestData& row = QTest::newRow(tag);
    ((row << detail::rowCell(values)), ...);
}

}  // namespace td::test
