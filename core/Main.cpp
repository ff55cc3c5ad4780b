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
    // mixed in: enough to tell one version of a file from another.
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](std::uint64_t word) {
        hash ^= word;
        hash *= 1099511628211ull;
        hash ^= hash >> 29;
    };
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        mix(word);
    }
    for (; i < bytes.size(); ++i)
        mix(static_cast<unsigned char>(bytes[i]));
    return FileStamp{path, bytes.size(), hash};
}

} // namespace nm
