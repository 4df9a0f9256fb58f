#include "deposit_file_reader.h"

#include "code_page_1252.h"
#include "core/packed_row.h"
#include "deposit_file_format.h"
#include "io_reason.h"
#include "memory_advice.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace td {

using namespace deposit_file;

namespace {

constexpr qsizetype kChunkRecords = 640;
// Bytes read past the end of a record, and written past the end of a packed
// row, by the wide loads and copies below; the buffers leave room for them.
constexpr qsizetype kSlack = 32;
// The longest packed row a record can give: every text byte as three UTF-8
// bytes, the separators and a terminating zero.
constexpr qsizetype kMaxPackedRecord = kRecordEndOffset * 3 + (ColumnCount - 1) + 1 + kSlack;
// A packed ASCII record: at most 99 text bytes, 9 separators and a zero.
constexpr qsizetype kTypicalPackedRecord = kRecordEndOffset + ColumnCount;
constexpr qsizetype kMaxBlockSize = 16 << 20;

// Which text bytes of a record are not spaces (bit i for byte i), and whether
// all of them are ASCII.
struct RecordScan {
    unsigned __int128 text = 0;
    bool ascii = true;
};

RecordScan scanRecord(const char* record)
{
    RecordScan scan;
#ifdef __SSE2__
    const __m128i spaces = _mm_set1_epi8(' ');
    std::uint32_t high = 0;
    for (int i = 0; i < 7; ++i) {  // 112 bytes: the record and 12 of slack
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(record + 16 * i));
        const auto notSpace = static_cast<std::uint16_t>(~_mm_movemask_epi8(_mm_cmpeq_epi8(v, spaces)));
        scan.text |= static_cast<unsigned __int128>(notSpace) << (16 * i);
        auto h = static_cast<std::uint32_t>(_mm_movemask_epi8(v));
        if (i == 6)
            h &= (1u << (kRecordEndOffset - 96)) - 1;
        high |= h;
    }
    scan.ascii = high == 0;
#else
    for (int i = 0; i < kRecordEndOffset; ++i) {
        if (record[i] != ' ')
            scan.text |= static_cast<unsigned __int128>(1) << i;
        if (static_cast<std::uint8_t>(record[i]) >= 0x80)
            scan.ascii = false;
    }
#endif
    return scan;
}

// The text of a field without its outer spaces, as [begin, end) within the field.
inline void fieldText(const RecordScan& scan, int column, int& begin, int& end)
{
    const auto bits =
        static_cast<std::uint32_t>(scan.text >> fieldOffset(column)) & ((1u << fieldWidth(column)) - 1);
    if (bits == 0) {
        begin = end = 0;
        return;
    }
    begin = __builtin_ctz(bits);
    end = 32 - __builtin_clz(bits);
}

// Copies n <= 32 bytes; up to 32 bytes after out may be overwritten.
inline void copyShort(char* out, const char* in, [[maybe_unused]] int n)
{
#ifdef __SSE2__
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_loadu_si128(reinterpret_cast<const __m128i*>(in)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16),
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16)));
#else
    std::memcpy(out, in, n);
#endif
}

// Packs rows one after another into large shared blocks: each row is a
// QByteArray that shares its block's storage instead of owning an allocation,
// so a million records cost a few allocations rather than a million. A row
// that is changed later gets storage of its own, as any shared QByteArray
// does; a block is freed with the last row that uses it.
//
// The rows' references to a block are counted in one step when the block is
// left (an atomic increment per row would cost a sixth of the load). Until
// then the packer's own reference keeps the block alive, so the packer must
// go before any row it made does.
class RowPacker {
public:
    explicit RowPacker(qsizetype expectedRecords) : m_expected(expectedRecords) {}
    ~RowPacker() { countReferences(); }
    RowPacker(const RowPacker&) = delete;
    RowPacker& operator=(const RowPacker&) = delete;

    QByteArray pack(const char* record)
    {
        if (m_end - m_pos < kMaxPackedRecord)
            newBlock();
        --m_expected;
        char* const start = m_pos;
        char* out = start;
        int begin = 0;
        int end = 0;
        const RecordScan scan = scanRecord(record);
        if (scan.ascii) {
            for (int c = 0; c < ColumnCount; ++c) {
                fieldText(scan, c, begin, end);
                copyShort(out, record + fieldOffset(c) + begin, end - begin);
                out += end - begin;
                *out++ = packed_row::kSeparator;
            }
        } else {
            const auto& table = cp1252::utf8Table();
            for (int c = 0; c < ColumnCount; ++c) {
                const char* field = record + fieldOffset(c);
                fieldText(scan, c, begin, end);
                for (int i = begin; i < end; ++i) {
                    const cp1252::Utf8Char& u = table[static_cast<std::uint8_t>(field[i])];
                    std::memcpy(out, u.bytes, 3);
                    out += u.size;
                }
                *out++ = packed_row::kSeparator;
            }
        }
        --out;  // no separator after the last field
        const qsizetype size = out - start;
        if (size == ColumnCount - 1)
            return {};  // a blank row, as packed_row keeps it
        *out++ = '\0';
        m_pos = out;
        ++m_uncounted;
        return QByteArray(QByteArray::DataPointer(m_block.data_ptr().d_ptr(), start, size));
    }

    void countReferences()
    {
        if (m_uncounted > 0)
            m_block.data_ptr().d_ptr()->ref_.fetchAndAddRelaxed(m_uncounted);
        m_uncounted = 0;
    }

private:
    void newBlock()
    {
        countReferences();
        const qsizetype size = std::clamp(m_expected * kTypicalPackedRecord + kMaxPackedRecord,
                                          kMaxPackedRecord, kMaxBlockSize);
        m_block = QByteArray(size, Qt::Uninitialized);
        m_pos = m_block.data();
        m_end = m_pos + m_block.size();
        adviseFillingSoon(m_pos, m_block.size());
    }

    qsizetype m_expected;
    int m_uncounted = 0;
    QByteArray m_block;
    char* m_pos = nullptr;
    char* m_end = nullptr;
};

}  // namespace

bool DepositFileReader::fail(const QString& reason)
{
    m_rows = {};
    m_error = reason;
    return false;
}

bool DepositFileReader::read(QIODevice& device)
{
    m_rows = {};
    m_ignoredBytes = 0;
    m_error.clear();
    if (!device.isReadable())
        return fail(ioReason(device));
    // A file too large for the memory fails like any other read.
    try {
        return readRecords(device);
    } catch (const std::bad_alloc&) {
        return fail(QCoreApplication::translate("DepositFile", "There is not enough memory to read the file."));
    } catch (const std::length_error&) {
        return fail(QCoreApplication::translate("DepositFile", "There is not enough memory to read the file."));
    }
}

bool DepositFileReader::readRecords(QIODevice& device)
{
    const qsizetype expected =
        device.isSequential() ? 0 : qMax<qint64>(0, device.size() - device.pos()) / kRecordSize;
    std::vector<QByteArray> rows;
    // Two more: the register adds its header and spare rows without moving them again.
    rows.reserve(static_cast<std::size_t>(expected) + 2);
    adviseFillingSoon(rows.data(), rows.capacity() * sizeof(QByteArray));

    RowPacker packer(expected);
    constexpr qsizetype kChunkSize = kChunkRecords * kRecordSize;
    QByteArray chunk(kChunkSize + kSlack, Qt::Uninitialized);
    char* const data = chunk.data();
    qsizetype filled = 0;
    for (;;) {
        const qint64 got = device.read(data + filled, kChunkSize - filled);
        if (got < 0)
            return fail(ioReason(device));
        if (got == 0)
            break;
        filled += got;
        const qsizetype whole = filled / kRecordSize * kRecordSize;
        for (qsizetype at = 0; at < whole; at += kRecordSize)
            rows.push_back(packer.pack(data + at));
        filled -= whole;
        std::memmove(data, data + whole, filled);
    }
    packer.countReferences();
    m_rows = std::move(rows);
    m_ignoredBytes = filled;
    return true;
}

bool DepositFileReader::readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        m_rows = {};
        m_ignoredBytes = 0;
        return fail(ioReason(file));
    }
    return read(file);
}

}  // namespace td
