#pragma once

#include "core/deposit_file_format.h"
#include "core/register.h"
#include "storage/deposit_file_writer.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

namespace td::fuzz {

// Writes the register's deposits to memory. Empty when `written` holds one
// whole record per deposit, each ending in a carriage return; else what failed.
inline QString writeDeposits(const Register& reg, QByteArray& written)
{
    using namespace deposit_file;
    written.clear();
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    DepositFileWriter writer;
    if (!writer.write(out, reg))
        return QStringLiteral("write failed: ") + writer.errorString();
    if (written.size() != qsizetype(reg.depositCount()) * kRecordSize)
        return QStringLiteral("written size is wrong");
    for (int r = 0; r < reg.depositCount(); ++r) {
        if (written.at(r * kRecordSize + kRecordEndOffset) != kRecordEnd)
            return QStringLiteral("record %1 does not end in a carriage return").arg(r);
    }
    return {};
}

}  // namespace td::fuzz
