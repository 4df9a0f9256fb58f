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
    const int lastDeposit = reg.rows() - 2;
    for (int r = 1; r <= lastDeposit; ++r) {
        const QByteArray& row = reg.packedRow(r);
        if (row.isEmpty())
            continue;
        const bool ascii = packed_row_scan::isAscii(row);
        bool counted = false;
        packed_row_scan::forEachField(row, [&](int c, const char* p, const char* end) {
            const qsizetype size = end - p;
            const bool exact = ascii ? size == 0 || (size <= deposit_file::fieldWidth(c) && p[0] != ' ' && end[-1] != ' ')
                                     : readsBackExactly(QByteArrayView(p, size), deposit_file::fieldWidth(c));
            if (exact)
                return;
            if (!counted) {
                counted = true;
                ++found.depositCount;
            }
            if (found.depositCount <= firstFew)
                found.cells.push_back({r, c});
        });
    }
    return found;
}

}  // namespace td
