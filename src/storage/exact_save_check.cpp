#include "exact_save_check.h"

#include "code_page_1252.h"
#include "core/packed_row.h"
#include "core/register.h"
#include "deposit_file_format.h"
#include "packed_row_scan.h"


namespace td {

bool readsBackExactly(QByteArrayView utf8Text, int fieldWidth)
{
    if (utf8Text.isEmpty())
        return true;
    if (utf8Text.front() == ' ' || utf8Text.back() == ' ')
        return false;
    const char* p = utf8Text.data();
    const char* const end = p + utf8Text.size();
    int bytes = 0;
    while (p < end) {
        if (++bytes > fieldWidth || cp1252::fromUtf8(p, end) < 0)
            return false;
    }
    return true;
}

InexactDeposits findInexactDeposits(const Register& reg, int firstFew)
{
    InexactDeposits found;
    packed_row_scan::ShortAsciiRow split;
    const int lastDeposit = reg.rows() - 2;
    for (int r = 1; r <= lastDeposit; ++r) {
        const QByteArray& row = reg.packedRow(r);
        if (row.isEmpty())
            continue;
        bool counted = false;
        auto note = [&](int c) {
            if (!counted) {
                counted = true;
                ++found.depositCount;
            }
            if (found.depositCount <= firstFew)
                found.cells.push_back({r, c});
        };
        if (packed_row_scan::splitShortAscii(row, split)) {
            for (int c = 0; c < ColumnCount; ++c) {
                const int begin = split.begin[c];
                const int end = split.end[c];
                if (end > begin
                    && (end - begin > deposit_file::fieldWidth(c) || split.bytes[begin] == ' '
                        || split.bytes[end - 1] == ' '))
                    note(c);
            }
            continue;
        }
        packed_row_scan::forEachField(row, [&](int c, const char* p, const char* end) {
            if (!readsBackExactly(QByteArrayView(p, end - p), deposit_file::fieldWidth(c)))
                note(c);
        });
    }
    return found;
}

}  // namespace td
