#pragma once

#include <QtGlobal>
#include <limits>

namespace td {

// Deposit file records, 100 bytes each, one after another in one block of
// memory that grows as records are added. The block never holds more bytes
// than its limit: growing past it, like memory running out, throws
// std::bad_alloc and leaves the block as it was.
class RecordBlock {
public:
    static constexpr qint64 kNoLimit = std::numeric_limits<qint64>::max();

    explicit RecordBlock(qint64 limitBytes = kNoLimit) : m_limit(limitBytes) {}
    ~RecordBlock();
    RecordBlock(RecordBlock&& other) noexcept;
    RecordBlock& operator=(RecordBlock&& other) noexcept;
    RecordBlock(const RecordBlock&) = delete;
    RecordBlock& operator=(const RecordBlock&) = delete;

    void setLimit(qint64 limitBytes) { m_limit = limitBytes; }

    qsizetype size() const { return m_bytes / kRecordBytes; }
    char* record(qsizetype n) { return m_data + n * kRecordBytes; }
    const char* record(qsizetype n) const { return m_data + n * kRecordBytes; }

    // Bytes filled so far; a reader may stop part-way through a record.
    qsizetype bytes() const { return m_bytes; }
    // Room for at least `bytes` bytes in all; what is filled stays.
    void reserveBytes(qsizetype bytes);
    // Free room after the filled bytes, for reading straight into the block.
    char* room() { return m_data + m_bytes; }
    qsizetype roomBytes() const { return m_capacity - m_bytes; }
    void fill(qsizetype bytes) { m_bytes += bytes; }
    // Drops the bytes of a final partial record and any room left over.
    void trimToRecords();

    // A new record at the end, left for the caller to write.
    char* appendRecord();

private:
    static constexpr qsizetype kRecordBytes = 100;
    void reallocate(qsizetype capacity);

    char* m_data = nullptr;
    qsizetype m_bytes = 0;
    qsizetype m_capacity = 0;
    qint64 m_limit;
};

}  // namespace td
