#include "host/Memory.h"

#include <cstdint>

#include <malloc.h>
#include <sys/mman.h>

namespace nm {

void PreferLargePages(const void* data, std::size_t size) {
    constexpr std::uintptr_t Large = std::uintptr_t{2} << 20;
    if (size < 4 * Large)
        return;
    // Only whole large pages inside the buffer can be advised.
    const auto start = (reinterpret_cast<std::uintptr_t>(data) + Large - 1) & ~(Large - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(Large - 1);
    // A system without transparent large pages refuses the advice; the buffer
    // then works as before.
    (void)madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

void KeepFreedMemory() {
#if defined(M_MMAP_THRESHOLD) && defined(M_TRIM_THRESHOLD)
    // The C library's own limit for the first is 32 MB.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

} // namespace nm
