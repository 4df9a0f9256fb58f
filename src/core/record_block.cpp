#include "record_block.h"

#include <cstdint>
#include <cstdlib>
#include <new>
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

void RecordBlock::reallocate(qsizetype capacity)
{
    void* data = std::realloc(m_data, std::size_t(qMax<qsizetype>(capacity, 1)));
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
    if (roomBytes() < kRecordBytes)
        reallocate(qMax(m_capacity + m_capacity / 2, m_bytes + 64 * kRecordBytes));
    m_bytes += kRecordBytes;
    return m_data + m_bytes - kRecordBytes;
}

}  // namespace td
