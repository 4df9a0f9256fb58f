#pragma once

#include "core/code_page_1252.h"
#include "core/deposit_file_format.h"
#include "core/register.h"
#include "storage/deposit_file_reader.h"
#include "storage/deposit_file_writer.h"
#include "storage/exact_save_check.h"
#include "write_deposits.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <algorithm>
#include <vector>

// What must hold for any bytes read as a deposit file. Shared by the fuzzer
// and by the test that replays its corpus; returns what went wrong, or an
// empty string.
namespace td::fuzz {

// Hands out its bytes a few at a time, so records arrive split across reads.
class TrickleDevice : public QIODevice {
public:
    TrickleDevice(const QByteArray& data, qint64 step) : m_data(data), m_step(std::max<qint64>(1, step)) {}
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 max) override
    {
        const qint64 n = std::min({max, m_step, qint64(m_data.size()) - m_at});
        std::copy_n(m_data.constData() + m_at, n, data);
        m_at += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_step;
    qint64 m_at = 0;
};

// The texts of one record, decoded the slow and obvious way.
inline QString expectedText(const char* record, int column)
{
    QByteArrayView field(record + deposit_file::fieldOffset(column), deposit_file::fieldWidth(column));
    while (!field.isEmpty() && field.front() == ' ')
        field = field.sliced(1);
    while (!field.isEmpty() && field.back() == ' ')
        field.chop(1);
    QString text;
    for (const char b : field) {
        const char32_t c = cp1252::toUnicode(static_cast<std::uint8_t>(b));
        text += QString::fromUcs4(&c, 1);
    }
    return text;
}

inline QString checkReaderProperties(const QByteArray& bytes)
{
    using namespace deposit_file;
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    DepositFileReader reader;
    if (!reader.read(buffer))
        return QStringLiteral("read failed: ") + reader.errorString();
    Register reg;
    if (!reg.replaceDeposits(reader.takeRecords()))
        return QStringLiteral("no memory for the register");
    if (qsizetype(reg.depositCount()) != bytes.size() / kRecordSize)
        return QStringLiteral("wrong number of rows");
    for (int r = 1; r <= reg.depositCount(); ++r) {
        const char* record = bytes.constData() + (r - 1) * kRecordSize;
        for (int c = 0; c < ColumnCount; ++c) {
            if (reg.cell(r, c) != expectedText(record, c))
                return QStringLiteral("record %1, field %2 read wrongly").arg(r - 1).arg(c);
        }
    }

    // Split reads give the same rows.
    auto sameRows = [&reg](QIODevice& device) {
        DepositFileReader other;
        Register again;
        if (!other.read(device) || !again.replaceDeposits(other.takeRecords()) || again.rows() != reg.rows())
            return false;
        for (int r = 1; r <= reg.depositCount(); ++r) {
            if (again.record(r) != reg.record(r))
                return false;
        }
        return true;
    };
    const qint64 step = bytes.isEmpty() ? 1 : 1 + static_cast<std::uint8_t>(bytes.front()) % 150;
    TrickleDevice trickle(bytes, step);
    trickle.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    if (!sameRows(trickle))
        return QStringLiteral("reading in pieces of %1 bytes gave other rows").arg(step);

    // What was read is exact: it writes and reads back unchanged.
    if (!findInexactDeposits(reg, 1).none())
        return QStringLiteral("a row read from a file would not read back exactly");
    QByteArray written;
    if (const QString failed = writeDeposits(reg, written); !failed.isEmpty())
        return failed;
    QBuffer again(&written);
    again.open(QIODevice::ReadOnly);
    if (!sameRows(again))
        return QStringLiteral("rows changed through a write and a read");
    return {};
}

}  // namespace td::fuzz
