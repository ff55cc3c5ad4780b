#include "Main.h"

#include "RuntimeError.h"

#include <limits>

namespace nm {

std::string MakePlaceholder(Main& main, char character) {
    if (main.PlaceholderCount == std::numeric_limits<std::int16_t>::max())
        throw RuntimeError(Err::Overflow);
    ++main.PlaceholderCount;
    return std::string(static_cast<std::size_t>(main.PlaceholderCount), character);
}

} // namespace nm
