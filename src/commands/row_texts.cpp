#include "commands/row_texts.h"

#include "core/code_page_1252.h"
#include "core/register.h"

namespace td {

using namespace deposit_file;

void RowTexts::load(int row)
{
    m_record = nullptr;
    m_lengths.fill(-1);
    if (m_register.heldAsRecord(row)) {
        // A single record row comes straight from the register's block.
        m_record = m_register.fileRecords(row, 1, m_scratch).data();
    } else {
        m_texts = m_register.record(row);
    }
}

QStringView RowTexts::operator[](int column)
{
    if (!m_record)
        return m_texts[column];
    QChar* const first = m_chars.data() + fieldOffset(column);
    if (m_lengths[std::size_t(column)] >= 0)
        return QStringView(first, m_lengths[std::size_t(column)]);
    const char* begin = m_record + fieldOffset(column);
    const char* end = begin + fieldWidth(column);
    while (begin < end && *begin == ' ')
        ++begin;
    while (end > begin && end[-1] == ' ')
        --end;
    QChar* out = first;
    for (const char* p = begin; p < end; ++p) {
        const auto byte = static_cast<std::uint8_t>(*p);
        *out++ = QChar(byte < 0x80 ? char16_t(byte) : cp1252::toUnicode(byte));  // ASCII is itself
    }
    m_lengths[std::size_t(column)] = qint8(out - first);
    return QStringView(first, out - first);
}

}  // namespace td
