#include "deposit_file_reader.h"

#include "content_hash.h"
#include "core/deposit_file_format.h"
#include "io_reason.h"
#include "memory_limit.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <cstring>
#include <new>
#include <stdexcept>

namespace td {

using namespace deposit_file;

namespace {

// Small enough that a piece is still in the cache when its records are put
// into shape, large enough for few system calls.
constexpr qsizetype kReadPiece = 2 << 20;

QString notEnoughMemory()
{
    return QCoreApplication::translate("DepositFile", "There is not enough memory to read the file.");
}

// Memory a register of that many file bytes needs: the records and their order.
qint64 memoryFor(qint64 fileBytes) { return fileBytes + fileBytes / kRecordSize * 4; }

}  // namespace

bool DepositFileReader::fail(const QString& reason)
{
    m_records = RecordBlock();
    m_error = reason;
    return false;
}

bool DepositFileReader::read(QIODevice& device)
{
    m_records = RecordBlock();
    m_error.clear();
    m_cancelled = false;
    if (!device.isReadable())
        return fail(ioReason(device));
    const qint64 limit = m_memoryLimit >= 0 ? m_memoryLimit : memoryAvailableForData();
    const qint64 size = device.isSequential() ? -1 : qMax<qint64>(0, device.size() - device.pos());
    if (size > 0 && memoryFor(size) > limit) {
        const QLocale locale;
        return fail(
            QCoreApplication::translate("DepositFile",
                                        "The file is %1 long; the program can have only %2 of memory.")
                .arg(locale.formattedDataSize(size), locale.formattedDataSize(qMax<qint64>(0, limit))));
    }
    try {
        return readRecords(device, limit);
    } catch (const std::bad_alloc&) {
        return fail(notEnoughMemory());
    } catch (const std::length_error&) {
        return fail(notEnoughMemory());
    }
}

bool DepositFileReader::readRecords(QIODevice& device, qint64 limit)
{
    const qint64 size = device.isSequential() ? -1 : qMax<qint64>(0, device.size() - device.pos());
    const qint64 recordsLimit = limit - limit / (kRecordSize + 4) * 4;  // the order takes the rest
    RecordBlock records;
    records.reserveBytes(size > 0 ? size : kReadPiece);
    ContentHasher hasher;
    qsizetype normalised = 0;  // records put into the form a save writes
    for (;;) {
        qint64 got = 0;
        if (records.roomBytes() > 0) {
            got = device.read(records.room(), qMin(records.roomBytes(), kReadPiece));
        } else {
            // Full: the device may still have more (a file that grew, a device
            // that could not tell its size).
            char probe[4096];
            got = device.read(probe, sizeof probe);
            if (got > 0) {
                const qsizetype grown = records.bytes() + qMax(records.bytes() / 2, kReadPiece);
                if (grown > recordsLimit)
                    return fail(notEnoughMemory());
                records.reserveBytes(grown);
                std::memcpy(records.room(), probe, got);
            }
        }
        if (got < 0)
            return fail(ioReason(device));
        if (got == 0)
            break;
        hasher.add(records.room(), got);  // before the records are put into shape
        records.fill(got);
        for (; normalised < records.bytes() / kRecordSize; ++normalised)
            normaliseRecord(records.record(normalised));
        if (m_progress && !m_progress(records.bytes(), size)) {
            m_cancelled = true;
            return fail(QCoreApplication::translate("DepositFile", "The reading was cancelled."));
        }
    }
    records.trimToRecords();
    m_records = std::move(records);
    m_contentHash = hasher.result();
    return true;
}

bool DepositFileReader::readFile(const QString& path)
{
    m_identity = {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        m_cancelled = false;
        return fail(ioReason(file));
    }
    // Settled first, so that a change while the file is read shows in it afterwards.
    FileIdentity identity = settledTimes(file.handle());
    if (!read(file))
        return false;
    identity.contentHash = m_contentHash;
    if (changedSince(identity, path))
        return fail(QCoreApplication::translate("DepositFile", "The file changed while it was being read."));
    m_identity = identity;
    return true;
}

}  // namespace td
