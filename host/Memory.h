// Memory the program asks of the system for its largest buffers.
#pragma once

#include <cstddef>

namespace nm {

// Asks the system to back the buffer at `data` with large pages where it
// can, before the buffer is first written: one fault then brings in two
// megabytes instead of four kilobytes, which makes filling a buffer of
// hundreds of megabytes several times faster. Buffers smaller than a few
// large pages are left as they are; so is every buffer where the system has
// no such pages.
void PreferLargePages(const void* data, std::size_t size);

} // namespace nm
