#include "record_block.h"

#include <cstdlib>
#include <new>
#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace td {

#ifdef __linux__

// The block is a mapping of its own. Growing it with mremap moves the pages
// to a larger range of addresses when the next one is taken, so the records
// are never copied and a grown block never needs room for two. (realloc
// does the same for a large block, but copies it once part of its mapping
// carries another hint, as the huge-page hint below would.)
namespace {

qsizetype wholePages(qsizetype bytes)
{
    static const qsizetype page = sysconf(_SC_PAGESIZE);
    return (bytes + page - 1) / page * page;
}

// Large blocks are filled right after they grow; backing them with huge pages
// saves hundreds of page faults per megabyte. Only a hint, and on the whole
// mapping, which must stay one piece for mremap to move it.
void adviseHugePages(char* data, qsizetype size)
{
#ifdef MADV_HUGEPAGE
    if (size >= (2 << 20))
        madvise(data, std::size_t(size), MADV_HUGEPAGE);
#endif
}

}  // namespace

RecordBlock::~RecordBlock()
{
    if (m_data)
        munmap(m_data, std::size_t(m_capacity));
}

void RecordBlock::reallocate(qsizetype capacity)
{
    capacity = wholePages(capacity);
    if (capacity == m_capacity)
        return;
    void* data = nullptr;
    if (capacity == 0)
        munmap(m_data, std::size_t(m_capacity));
    else if (!m_data)
        data =
            mmap(nullptr, std::size_t(capacity), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    else
        data = mremap(m_data, std::size_t(m_capacity), std::size_t(capacity), MREMAP_MAYMOVE);
    if (data == MAP_FAILED) {
        if (capacity > m_capacity)
            throw std::bad_alloc();
        return;  // a block that cannot shrink keeps its room
    }
    m_data = static_cast<char*>(data);
    m_capacity = capacity;
    adviseHugePages(m_data, m_capacity);
}

#else

RecordBlock::~RecordBlock() { std::free(m_data); }

void RecordBlock::reallocate(qsizetype capacity)
{
    void* data = std::realloc(m_data, std::size_t(qMax<qsizetype>(capacity, 1)));
    if (!data)
        throw std::bad_alloc();
    m_data = static_cast<char*>(data);
    m_capacity = capacity;
}

#endif

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
