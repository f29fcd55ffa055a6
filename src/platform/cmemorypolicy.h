#pragma once
// How the programs ask the C allocator to treat large blocks.

class CMemoryPolicy {
public:
    // Keeps freed memory in the process instead of handing it back to the
    // system at once. Opening a large legend allocates tens of megabytes of row
    // lists; with the default policy every open of it pays the first-touch page
    // faults again, which on virtual machines costs more than the parsing.
    // The retained memory is bounded (a few hundred megabytes at most).
    static void PreferReuse();
};
