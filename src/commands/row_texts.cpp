#include "commands/row_texts.h"

#include "core/code_page_1252.h"
#include "core/register.h"

namespace td {

using namespace deposit_file;

void RowTexts::load(int row)
{
    m_record = nullptr;
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
    const char* begin = m_record + fieldOffset(column);
    const char* end = begin + fieldWidth(column);
    while (begin < end && *begin == ' ')
        ++begin;
    while (end > begin && end[-1] == ' ')
        --end;
    QChar* const first = m_chars.data() + fieldOffset(column);
    QChar* out = first;
    for (const char* p = begin; p < end; ++p)
        *out++ = QChar(cp1252::toUnicode(static_cast<std::uint8_t>(*p)));
    return QStringView(first, out - first);
}

}  // namespace td
