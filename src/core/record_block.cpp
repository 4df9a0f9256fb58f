#include "record_block.h"

#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>
#ifdef __linux__
#include <sys/mman.h>
#endif

namespace td {

namespace {

// Large blocks are filled right after they are allocated; backing them with
// huge pages saves hundreds of page faults per megabyte. Only a hint.
void adviseHugePages(char* data, qsizetype size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kHugePage = 2u << 20;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kHugePage - 1) & ~(kHugePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(kHugePage - 1);
    if (begin < end)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}

}  // namespace

RecordBlock::~RecordBlock() { std::free(m_data); }

RecordBlock::RecordBlock(RecordBlock&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_bytes(std::exchange(other.m_bytes, 0)),
      m_capacity(std::exchange(other.m_capacity, 0)), m_limit(other.m_limit)
{
}

RecordBlock& RecordBlock::operator=(RecordBlock&& other) noexcept
{
    std::swap(m_data, other.m_data);
    std::swap(m_bytes, other.m_bytes);
    std::swap(m_capacity, other.m_capacity);
    std::swap(m_limit, other.m_limit);
    return *this;
}

void RecordBlock::reallocate(qsizetype capacity)
{
    if (capacity < 0 || capacity > m_limit)
        throw std::bad_alloc();
    void* data = std::realloc(m_data, capacity > 0 ? std::size_t(capacity) : 1);
    if (!data)
        throw std::bad_alloc();
    m_data = static_cast<char*>(data);
    m_capacity = capacity;
    adviseHugePages(m_data, m_capacity);
}

void RecordBlock::reserveBytes(qsizetype bytes)
{
    if (bytes > m_capacity)
        reallocate(bytes);
}

void RecordBlock::trimToRecords()
{
    m_bytes -= m_bytes % kRecordBytes;
    if (m_capacity > m_bytes)
        reallocate(m_bytes);
}

char* RecordBlock::appendRecord()
{
    if (roomBytes() < kRecordBytes) {
        const qsizetype wanted = qMax<qsizetype>(m_capacity + m_capacity / 2, 64 * kRecordBytes);
        reallocate(qMax(wanted, m_bytes + kRecordBytes) <= m_limit ? qMax(wanted, m_bytes + kRecordBytes)
                                                                   : m_bytes + kRecordBytes);
    }
    char* record = m_data + m_bytes;
    m_bytes += kRecordBytes;
    return record;
}

}  // namespace td
