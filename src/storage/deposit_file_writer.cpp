#include "deposit_file_writer.h"

#include "code_page_1252.h"
#include "core/packed_row.h"
#include "core/register.h"
#include "deposit_file_format.h"
#include "io_reason.h"
#include "packed_row_scan.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <csignal>
#include <array>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace td {

using namespace deposit_file;

namespace {

constexpr qsizetype kChunkRecords = 8192;

constexpr std::array<char, kRecordSize> kBlankRecord = [] {
    std::array<char, kRecordSize> record{};
    record.fill(' ');
    record[kRecordEndOffset] = kRecordEnd;
    return record;
}();

// A field already filled with spaces: the text's characters, cut at the width.
void encodeField(const char* p, const char* end, char* out, int width)
{
    int n = 0;
    while (p < end && n < width) {
        const int byte = cp1252::fromUtf8(p, end);
        out[n++] = byte < 0 ? cp1252::kReplacement : static_cast<char>(byte);
    }
}

// A rename is only durable once the folder that holds the name is synced. The
// new file is already in place when this runs, so a folder that cannot be
// synced (some file systems refuse) changes nothing for the caller.
void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

void DepositFileWriter::encodeRecord(const QByteArray& packedRow, char* record)
{
    std::memcpy(record, kBlankRecord.data(), kRecordSize);
    if (packedRow.isEmpty())
        return;
    if (packed_row_scan::isAscii(packedRow)) {
        packed_row_scan::forEachField(packedRow, [record](int c, const char* p, const char* end) {
            std::memcpy(record + fieldOffset(c), p, std::min<qsizetype>(end - p, fieldWidth(c)));
        });
    } else {
        packed_row_scan::forEachField(packedRow, [record](int c, const char* p, const char* end) {
            encodeField(p, end, record + fieldOffset(c), fieldWidth(c));
        });
    }
}

bool DepositFileWriter::fail(const QString& reason)
{
    m_error = reason;
    return false;
}

bool DepositFileWriter::writeAll(QIODevice& device, const char* data, qsizetype size)
{
    // A device may take part of a block; asking again for the rest makes it
    // report why it stopped (a full disk, a size limit).
    while (size > 0) {
        const qint64 written = device.write(data, size);
        if (written <= 0)
            return fail(ioReason(device));
        data += written;
        size -= written;
    }
    return true;
}

template <typename RowAt>
bool DepositFileWriter::writeRows(QIODevice& device, qsizetype count, RowAt rowAt)
{
    m_error.clear();
    if (!device.isWritable())
        return fail(ioReason(device));
    QByteArray chunk(qMin(count, kChunkRecords) * kRecordSize, Qt::Uninitialized);
    char* const data = chunk.data();
    for (qsizetype first = 0; first < count; first += kChunkRecords) {
        const qsizetype n = qMin(kChunkRecords, count - first);
        for (qsizetype i = 0; i < n; ++i)
            encodeRecord(rowAt(first + i), data + i * kRecordSize);
        if (!writeAll(device, data, n * kRecordSize))
            return false;
    }
    return true;
}

bool DepositFileWriter::write(QIODevice& device, const Register& reg)
{
    return writeRows(device, reg.depositCount(), [&reg](qsizetype i) -> const QByteArray& {
        return reg.packedRow(static_cast<int>(i) + 1);
    });
}

bool DepositFileWriter::write(QIODevice& device, const std::vector<QByteArray>& packedRows)
{
    return writeRows(device, static_cast<qsizetype>(packedRows.size()),
                     [&packedRows](qsizetype i) -> const QByteArray& { return packedRows[i]; });
}

bool DepositFileWriter::writeFile(const QString& path, const Register& reg)
{
    // Past the process's file size limit the system sends SIGXFSZ, which ends
    // the program with the register unsaved; ignored, the write fails with
    // "File too large" and the save is reported like any other failure.
#ifdef SIGXFSZ
    static const bool fileSizeSignalIgnored = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
    Q_UNUSED(fileSizeSignalIgnored);
#endif
    m_error.clear();
    QSaveFile file(path);
    // Unbuffered: a write that the disk takes only in part comes back short,
    // and the next one reports why (a buffered flush loses the reason).
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(ioReason(file));
    // QSaveFile::commit() can report success when its last buffered bytes did
    // not fit on the disk (QTBUG-75077), so every byte is written, flushed and
    // checked before the old file is replaced.
    if (!write(file, reg)) {
        file.cancelWriting();
        return false;
    }
    if (!file.flush()) {
        fail(ioReason(file));
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return fail(ioReason(file));
    syncFolder(QFileInfo(path).absolutePath());
    return true;
}

}  // namespace td
