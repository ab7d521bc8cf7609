#include "../memory.h"

#include <malloc.h>

namespace platform {

void returnLargeBlocksToSystem() {
#ifdef __GLIBC__
    // glibc raises its mmap threshold to the size of each large block freed,
    // after which blocks that size come from the heap and stay there once
    // freed. A fixed threshold keeps every picture-sized block in a mapping
    // of its own, unmapped when freed.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

} // namespace platform
