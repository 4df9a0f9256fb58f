#include "packed_row.h"

namespace td::packed_row {

QByteArray packUtf8(const std::array<QByteArrayView, ColumnCount>& utf8Texts)
{
    qsizetype size = ColumnCount - 1;
    bool blank = true;
    for (const auto& t : utf8Texts) {
        size += t.size();
        blank = blank && t.isEmpty();
    }
    if (blank)
        return {};
    QByteArray row;
    row.reserve(size);
    for (int c = 0; c < ColumnCount; ++c) {
        if (c > 0)
            row.append(kSeparator);
        row.append(utf8Texts[c]);
    }
    row.squeeze();
    return row;
}

QByteArray pack(const std::array<QString, ColumnCount>& texts)
{
    std::array<QByteArray, ColumnCount> utf8;
    std::array<QByteArrayView, ColumnCount> views;
    for (int c = 0; c < ColumnCount; ++c) {
        utf8[c] = texts[c].toUtf8();
        views[c] = utf8[c];
    }
    return packUtf8(views);
}

QByteArrayView field(const QByteArray& row, int column)
{
    if (row.isEmpty())
        return {};
    const char* p = row.constData();
    const char* end = p + row.size();
    for (int c = 0; c < column; ++c) {
        p = static_cast<const char*>(memchr(p, kSeparator, end - p));
        if (!p)
            return {};
        ++p;
    }
    const char* stop = static_cast<const char*>(memchr(p, kSeparator, end - p));
    return QByteArrayView(p, (stop ? stop : end) - p);
}

QByteArray withField(const QByteArray& row, int column, const QString& text)
{
    std::array<QByteArray, ColumnCount> utf8;
    std::array<QByteArrayView, ColumnCount> views;
    for (int c = 0; c < ColumnCount; ++c) {
        if (c == column) {
            utf8[c] = text.toUtf8();
            views[c] = utf8[c];
        } else {
            views[c] = field(row, c);
        }
    }
    return packUtf8(views);
}

bool isBlank(const QByteArray& row) { return row.isEmpty(); }

}  // namespace td::packed_row
