#include "MemoryUse.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

void KeepLargeListsOutOfTheHeap() {
#ifdef __GLIBC__
    // The library's starting threshold, fixed so that it no longer rises.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}
