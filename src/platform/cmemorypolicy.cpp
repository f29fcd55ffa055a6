#include "platform/cmemorypolicy.h"

#include <malloc.h>

void CMemoryPolicy::PreferReuse()
{
    // Blocks below 256 MB come from the heap, and the heap is trimmed only when
    // more than 512 MB are free at its top.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
}
