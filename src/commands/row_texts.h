#pragma once

#include "core/deposit_file_format.h"
#include "core/deposit_record.h"

#include <QStringView>
#include <array>

namespace td {

class Register;

// The texts of one register row, read straight from its record without a
// string made for each cell: a scan over a million rows then costs no
// allocation a row. A row kept as texts is read as it is kept.
class RowTexts {
public:
    explicit RowTexts(const Register& reg) : m_register(reg) {}

    void load(int row);
    // As Register::cell gives it, until the next load; decoded once a load.
    QStringView operator[](int column);
    // The row's record in the file's own bytes, for a reader of a field's
    // bytes; null for a row kept as texts.
    const char* record() const { return m_record; }

private:
    const Register& m_register;
    const char* m_record = nullptr;  // null for a row kept as texts
    DepositRecord m_texts;
    char m_scratch[deposit_file::kRecordSize];
    std::array<QChar, deposit_file::kRecordSize> m_chars;
    std::array<qint8, ColumnCount> m_lengths{};  // of the fields decoded since the load; -1 for not yet
};

}  // namespace td
