#include "platform/cmemorypolicy.h"

#include <cstdint>
#include <malloc.h>
#include <sys/mman.h>

void CMemoryPolicy::PreferReuse()
{
    // Blocks below 256 MB come from the heap, and the heap is trimmed only when
    // more than 512 MB are free at its top.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
}

void CMemoryPolicy::AdviseHugePages(const void* data, size_t bytes)
{
    constexpr uintptr_t huge = 2u << 20;
    const auto begin = (reinterpret_cast<uintptr_t>(data) + huge - 1) & ~(huge - 1);
    const auto end = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(huge - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}
