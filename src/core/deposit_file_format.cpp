#include "deposit_file_format.h"

#include "code_page_1252.h"

#include <cstring>

namespace td::deposit_file {

QString fieldText(const char* record, int column)
{
    const char* begin = record + fieldOffset(column);
    const char* end = begin + fieldWidth(column);
    while (begin < end && *begin == ' ')
        ++begin;
    while (end > begin && end[-1] == ' ')
        --end;
    QString text(end - begin, Qt::Uninitialized);
    QChar* out = text.data();
    for (const char* p = begin; p < end; ++p)
        *out++ = QChar(cp1252::toUnicode(static_cast<std::uint8_t>(*p)));
    return text;
}

bool encodeField(QStringView text, char* record, int column)
{
    char* const field = record + fieldOffset(column);
    const int width = fieldWidth(column);
    bool exact = text.isEmpty() || (text.front() != u' ' && text.back() != u' ');
    int n = 0;
    qsizetype i = 0;
    for (; i < text.size() && n < width; ++i) {
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        const int byte = cp1252::fromUnicode(c);
        exact = exact && byte >= 0;
        field[n++] = byte < 0 ? cp1252::kReplacement : static_cast<char>(byte);
    }
    std::memset(field + n, ' ', width - n);
    return exact && i == text.size();
}

void normaliseRecord(char* record)
{
    for (int c = 0; c < ColumnCount; ++c) {
        char* const field = record + fieldOffset(c);
        const int width = fieldWidth(c);
        if (field[0] != ' ')
            continue;
        int first = 1;
        while (first < width && field[first] == ' ')
            ++first;
        if (first == width)
            continue;
        std::memmove(field, field + first, width - first);
        std::memset(field + width - first, ' ', first);
    }
    record[kRecordEndOffset] = kRecordEnd;
}

void blankRecord(char* record)
{
    std::memset(record, ' ', kRecordEndOffset);
    record[kRecordEndOffset] = kRecordEnd;
}

}  // namespace td::deposit_file
