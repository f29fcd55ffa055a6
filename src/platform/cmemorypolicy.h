#pragma once

#include <cstddef>
// How the programs ask the C allocator to treat large blocks.

class CMemoryPolicy {
public:
    // Keeps freed memory in the process instead of handing it back to the
    // system at once. Opening a large legend allocates tens of megabytes of row
    // lists; with the default policy every open of it pays the first-touch page
    // faults again, which on virtual machines costs more than the parsing.
    // The retained memory is bounded (a few hundred megabytes at most).
    static void PreferReuse();

    // Asks the system to back a large block with huge pages, so that filling it
    // takes one page fault per 2 MB instead of one per 4 kB. Does nothing for
    // blocks too small to hold a huge page.
    static void AdviseHugePages(const void* data, size_t bytes);
};
