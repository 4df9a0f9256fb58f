#pragma once

#include "columns.h"

#include <QString>
#include <array>

namespace td {

// One term deposit: ten texts in column order.
struct DepositRecord {
    std::array<QString, ColumnCount> texts;

    QString& operator[](int column) { return texts.at(column); }
    const QString& operator[](int column) const { return texts.at(column); }
    bool operator==(const DepositRecord&) const = default;
};

}  // namespace td
