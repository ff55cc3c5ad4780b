#include "host/Memory.h"

namespace nm {

// Large pages on Windows need a privilege an account rarely has, and memory
// reserved with them cannot be given back in part: the buffers keep the
// ordinary pages.
void PreferLargePages(const void*, std::size_t) {}

// The Windows heap keeps freed blocks for reuse by itself.
void KeepFreedMemory() {}

} // namespace nm
