#include "host/Memory.h"

namespace nm {

// Large pages on Windows need a privilege an account rarely has, and memory
// reserved with them cannot be given back in part: the buffers keep the
// ordinary pages.
void PreferLargePages(const void*, std::size_t) {}

} // namespace nm
