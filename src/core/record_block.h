#pragma once

#include <QtGlobal>
#include <utility>

namespace td {

// Deposit file records, 100 bytes each, one after another in one block of
// memory that grows as records are added. Growing never copies the records
// (on Linux the block is a memory mapping of its own, moved by the system as
// it grows), so it never needs room for the block twice. Growing throws
// std::bad_alloc when there is no memory, and leaves the block as it was.
class RecordBlock {
public:
    RecordBlock() = default;
    ~RecordBlock();
    RecordBlock(RecordBlock&& other) noexcept { swap(other); }
    RecordBlock& operator=(RecordBlock&& other) noexcept
    {
        swap(other);
        return *this;
    }

    qsizetype size() const { return m_bytes / kRecordBytes; }
    char* record(qsizetype n) { return m_data + n * kRecordBytes; }
    const char* record(qsizetype n) const { return m_data + n * kRecordBytes; }
    // A new record at the end, left for the caller to write.
    char* appendRecord();

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

private:
    static constexpr qsizetype kRecordBytes = 100;
    void reallocate(qsizetype capacity);
    void swap(RecordBlock& other) noexcept
    {
        std::swap(m_data, other.m_data);
        std::swap(m_bytes, other.m_bytes);
        std::swap(m_capacity, other.m_capacity);
    }

    char* m_data = nullptr;
    qsizetype m_bytes = 0;
    qsizetype m_capacity = 0;
};

}  // namespace td
