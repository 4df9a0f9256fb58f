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
#include <array>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
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

// Stores an ASCII text of n bytes, cut or space-filled to the width, as
// 16 bytes (32 for a field wider than 16) read from text and written to out.
inline void storeField(const char* text, int n, char* out, int width)
{
#ifdef __SSE2__
    const __m128i spaces = _mm_set1_epi8(' ');
    const __m128i kept = _mm_set1_epi8(static_cast<char>(std::min(n, width)));
    __m128i index = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    for (int half = 0; half < (width > 16 ? 2 : 1); ++half) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16 * half));
        const __m128i inText = _mm_cmplt_epi8(index, kept);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * half),
                         _mm_or_si128(_mm_and_si128(inText, v), _mm_andnot_si128(inText, spaces)));
        index = _mm_add_epi8(index, _mm_set1_epi8(16));
    }
#else
    const int kept = std::min(n, width);
    std::memcpy(out, text, kept);
    std::memset(out + kept, ' ', width - kept);
#endif
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
    packed_row_scan::ShortAsciiRow split;
    if (packed_row_scan::splitShortAscii(packedRow, split)) {
        // Each field is stored 16 or 32 bytes wide, spaces after its text; what
        // spills past the field is overwritten by the next one, and past the
        // record by the carriage return and the room the caller leaves.
        for (int c = 0; c < ColumnCount; ++c)
            storeField(split.bytes + split.begin[c], split.end[c] - split.begin[c], record + fieldOffset(c),
                       fieldWidth(c));
        record[kRecordEndOffset] = kRecordEnd;
        return;
    }
    std::memcpy(record, kBlankRecord.data(), kRecordSize);
    packed_row_scan::forEachField(packedRow, [record](int c, const char* p, const char* end) {
        encodeField(p, end, record + fieldOffset(c), fieldWidth(c));
    });
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
    // Room after the last record for the wide stores of encodeRecord.
    QByteArray chunk(qMin(count, kChunkRecords) * kRecordSize + 32, Qt::Uninitialized);
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
    if (QString reason; m_beforeReplace && !m_beforeReplace(file, reason)) {
        fail(reason);
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return fail(ioReason(file));
    syncFolder(QFileInfo(path).absolutePath());
    return true;
}

}  // namespace td
