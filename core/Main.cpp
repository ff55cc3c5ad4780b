#include "core/Main.h"

#include "host/RuntimeError.h"

#include <limits>

namespace nm {

std::string MakePlaceholder(Main& main, char character) {
    if (main.PlaceholderCount == std::numeric_limits<std::int16_t>::max())
        throw RuntimeError(Err::Overflow);
    ++main.PlaceholderCount;
    return std::string(static_cast<std::size_t>(main.PlaceholderCount), character);
}

FileStamp StampOf(const std::string& path, std::string_view bytes) {
    // FNV-1a: enough to tell one version of a file from another.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return FileStamp{path, bytes.size(), hash};
}

} // namespace nm
