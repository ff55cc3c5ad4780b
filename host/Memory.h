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

// Called once at the start of a program: memory the program frees is kept
// for its next use, up to some tens of megabytes, instead of going back to
// the system at once. Each read of a file allocates a few megabytes of
// rows and lists and frees those of the last one; given back and asked for
// again, every page of them would be brought in afresh, which costs more
// than the read itself. Buffers larger than that still go straight back.
void KeepFreedMemory();

} // namespace nm
