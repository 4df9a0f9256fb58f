#pragma once

#include "core/code_page_1252.h"
#include "core/deposit_file_format.h"
#include "core/register.h"
#include "storage/deposit_file_writer.h"
#include "write_deposits.h"

#include <QByteArray>
#include <QString>

// What must hold for any register texts written to a deposit file: each
// field holds the text's characters in Windows-1252 ("?" for those it cannot
// hold), cut or space-filled to the width. Input bytes are split into texts
// at line feeds, ten to a deposit.
namespace td::fuzz {

inline QByteArray expectedField(const QString& text, int width)
{
    QByteArray field;
    for (const char32_t c : text.toUcs4()) {
        if (field.size() == width)
            break;
        const int b = cp1252::fromUnicode(c);
        field += b < 0 ? cp1252::kReplacement : static_cast<char>(b);
    }
    return field.leftJustified(width, ' ');
}

inline QString checkWriterProperties(const QByteArray& bytes)
{
    using namespace deposit_file;
    const QList<QByteArray> pieces = bytes.split('\n');
    Register reg;
    for (qsizetype at = 0; at < pieces.size(); at += ColumnCount) {
        DepositRecord d;
        for (int c = 0; c < ColumnCount && at + c < pieces.size(); ++c)
            d[c] = QString::fromUtf8(pieces[at + c]);
        reg.appendDeposit(d);
    }
    QByteArray written;
    if (const QString failed = writeDeposits(reg, written); !failed.isEmpty())
        return failed;
    for (int r = 1; r <= reg.depositCount(); ++r) {
        const char* record = written.constData() + (r - 1) * kRecordSize;
        for (int c = 0; c < ColumnCount; ++c) {
            const QByteArrayView field(record + fieldOffset(c), fieldWidth(c));
            if (field != expectedField(reg.cell(r, c), fieldWidth(c)))
                return QStringLiteral("deposit %1, field %2 written wrongly").arg(r).arg(c);
        }
    }
    return {};
}

}  // namespace td::fuzz
