#include "core/Main.h"

#include "host/RuntimeError.h"
#include "host/Utf8.h"

#include <cstring>
#include <limits>

namespace nm {

CompactText MakePlaceholder(Main& main, char character) {
    constexpr auto Longest = static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max());
    if (main.PlaceholderCount == std::numeric_limits<std::int16_t>::max())
        throw RuntimeError(Err::Overflow);
    ++main.PlaceholderCount;
    const auto length = static_cast<std::size_t>(main.PlaceholderCount);
    // One run of each character the reader asks for, made on first use.
    static const std::string names(Longest, '$');
    static const std::string commands(Longest, '?');
    return CompactText::Lasting(
        std::string_view(character == '$' ? names : commands).substr(0, length));
}

std::string OriginalFileText(const Main& main) {
    std::string text;
    text.reserve(main.OriginalText.size() + main.OriginalText.size() / 16);
    ForEachLine(main.OriginalText, [&text](std::string_view line) {
        text += line;
        text += "\r\n";
    });
    return text;
}

FileStamp StampOf(const std::string& path, std::string_view bytes) {
    // FNV-1a over eight bytes at a time, each word folded down after it is
    // mixed in: enough to tell one version of a file from another. Four
    // hashes take every fourth word, so that the processor works on them
    // side by side, and are mixed into one at the end.
    const auto mix = [](std::uint64_t& hash, std::uint64_t word) {
        hash ^= word;
        hash *= 1099511628211ull;
        hash ^= hash >> 29;
    };
    const auto word = [&bytes](std::size_t at) {
        std::uint64_t value;
        std::memcpy(&value, bytes.data() + at, sizeof value);
        return value;
    };
    std::uint64_t lanes[4] = {14695981039346656037ull, 1, 2, 3};
    std::size_t i = 0;
    for (; i + 32 <= bytes.size(); i += 32)
        for (std::size_t k = 0; k < 4; ++k)
            mix(lanes[k], word(i + 8 * k));
    for (; i + 8 <= bytes.size(); i += 8)
        mix(lanes[0], word(i));
    for (; i < bytes.size(); ++i)
        mix(lanes[0], static_cast<unsigned char>(bytes[i]));
    for (std::size_t k = 1; k < 4; ++k)
        mix(lanes[0], lanes[k]);
    return FileStamp{path, bytes.size(), lanes[0]};
}

} // namespace nm
