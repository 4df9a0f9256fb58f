#include "memory_advice.h"

#include <cstdint>
#ifdef __linux__
#include <sys/mman.h>
#endif

namespace td {

void adviseFillingSoon(void* data, std::size_t size)
{
#ifdef __linux__
    if (size < (1u << 20))
        return;  // not worth a system call
    constexpr std::uintptr_t kPage = 4096;
    constexpr std::uintptr_t kHugePage = 2u << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t end = begin + size;
    const std::uintptr_t hugeBegin = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t hugeEnd = end & ~(kHugePage - 1);
    if (hugeBegin < hugeEnd)
        madvise(reinterpret_cast<void*>(hugeBegin), hugeEnd - hugeBegin, MADV_HUGEPAGE);
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23  // Linux 5.14; older kernels refuse it harmlessly
#endif
    const std::uintptr_t pageBegin = (begin + kPage - 1) & ~(kPage - 1);
    const std::uintptr_t pageEnd = end & ~(kPage - 1);
    if (pageBegin < pageEnd)
        madvise(reinterpret_cast<void*>(pageBegin), pageEnd - pageBegin, MADV_POPULATE_WRITE);
#else
    (void)data;
    (void)size;
#endif
}

}  // namespace td
