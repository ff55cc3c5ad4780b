#include "host/Utf8.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <cwctype>

namespace nm {

namespace {

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Eight bytes at a time, in the machine's order: the long runs of plain
// ASCII in a file's text are checked, counted and mapped a word at a time.
constexpr std::uint64_t HighBits = 0x8080808080808080ull;
constexpr std::uint64_t EachByte(unsigned char c) {
    return 0x0101010101010101ull * c;
}

std::uint64_t Word(const char* at) {
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// The high bit of each byte of `word` that is zero (and perhaps of some
// bytes after the first such byte: only whether there is one counts).
std::uint64_t ZeroBytes(std::uint64_t word) {
    return (word - EachByte(1)) & ~word & HighBits;
}

} // namespace

std::size_t FindLineEnd(std::string_view text, std::size_t from) {
    std::size_t at = from;
    while (at + 8 <= text.size()) {
        const std::uint64_t word = Word(text.data() + at);
        const std::uint64_t ends =
            ZeroBytes(word ^ EachByte('\r')) | ZeroBytes(word ^ EachByte('\n'));
        if (ends == 0) {
            at += 8;
            continue;
        }
        // The lowest byte marked is a line end (a mark can be wrong only
        // above a right one); in memory it comes first on a little-endian
        // machine.
        if constexpr (std::endian::native == std::endian::little)
            return at + static_cast<std::size_t>(std::countr_zero(ends)) / 8;
        break;
    }
    for (; at < text.size(); ++at)
        if (text[at] == '\r' || text[at] == '\n')
            return at;
    return text.size();
}

namespace {

// The high bit of each byte of an ASCII word that lies in [first, last].
std::uint64_t InRange(std::uint64_t ascii, unsigned char first, unsigned char last) {
    const std::uint64_t fromFirst = ascii + EachByte(static_cast<unsigned char>(0x80 - first));
    const std::uint64_t pastLast = ascii + EachByte(static_cast<unsigned char>(0x7F - last));
    return fromFirst & ~pastLast & HighBits;
}

// Length in bytes of the sequence that begins with `lead`, or 0 when `lead`
// cannot begin one.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// Decodes the code point at `i` and moves `i` past it.
char32_t Next(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t n = SequenceLength(lead);
    if (n == 1) {
        ++i;
        return lead;
    }
    if (n == 0 || i + n > text.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t cp = lead & (0xFF >> (n + 1));
    for (std::size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(text[i + k]);
        if (!IsContinuation(c)) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    i += n;
    return cp;
}

char32_t MapCase(char32_t cp, bool upper) {
    if (cp < 0x80) {
        if (upper && cp >= 'a' && cp <= 'z')
            return cp - 32;
        if (!upper && cp >= 'A' && cp <= 'Z')
            return cp + 32;
        return cp;
    }
    if (cp > 0xFFFF && sizeof(wchar_t) < 4)
        return cp;
    const auto wc = static_cast<std::wint_t>(cp);
    return static_cast<char32_t>(upper ? std::towupper(wc) : std::towlower(wc));
}

// Maps the letters of the plain-ASCII beginning of `text` in place; returns
// the length of that beginning (the whole text when it is plain ASCII).
std::size_t MapAsciiInPlace(std::string& text, bool upper) {
    std::size_t i = 0;
    const unsigned char first = upper ? 'a' : 'A';
    for (; i + 8 <= text.size(); i += 8) {
        const std::uint64_t word = Word(text.data() + i);
        if (word & HighBits)
            break;
        // The letters to map have bit 0x20 flipped.
        const std::uint64_t mapped = word ^ (InRange(word, first, first + 25) >> 2);
        std::memcpy(text.data() + i, &mapped, sizeof mapped);
    }
    for (; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80)
            break;
        if (c >= first && c <= first + 25)
            text[i] = static_cast<char>(c ^ 0x20);
    }
    return i;
}

std::string MapText(std::string_view text, bool upper) {
    std::string out(text);
    if (MapAsciiInPlace(out, upper) == out.size())
        return out; // plain ASCII, the common case
    out.clear();
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(MapCase(c, upper)));
            ++i;
            continue;
        }
        const std::size_t start = i;
        const char32_t cp = Next(text, i);
        if (cp == 0xFFFD)
            out.append(text.substr(start, i - start));
        else
            AppendUtf8(out, MapCase(cp, upper));
    }
    return out;
}

} // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    lines.reserve(text.size() / 24 + 1);
    ForEachLine(text, [&lines](std::string_view line) { lines.push_back(line); });
    return lines;
}

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (i + 8 <= text.size() && !(Word(text.data() + i) & HighBits)) {
            i += 8;
            continue;
        }
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t n = SequenceLength(lead);
        if (n == 0 || i + n > text.size())
            return false;
        if (n > 1) {
            const auto second = static_cast<unsigned char>(text[i + 1]);
            if (!IsContinuation(second))
                return false;
            // Overlong forms, surrogates and code points past U+10FFFF.
            if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
                (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
                return false;
            for (std::size_t k = 2; k < n; ++k)
                if (!IsContinuation(static_cast<unsigned char>(text[i + k])))
                    return false;
        }
        i += n;
    }
    return true;
}

std::size_t CharCount(std::string_view text) {
    std::size_t count = 0;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        // A continuation byte has its high bit set and the next one clear.
        const std::uint64_t word = Word(text.data() + i);
        // Their high bits, gathered into the top byte, added up.
        const std::uint64_t marks = (word & ~(word << 1) & HighBits) >> 7;
        count += 8 - static_cast<std::size_t>((marks * 0x0101010101010101ull) >> 56);
    }
    for (const char c : text.substr(i))
        if (!IsContinuation(static_cast<unsigned char>(c)))
            ++count;
    return count;
}

std::size_t ByteOffsetOfChar(std::string_view text, std::size_t index) {
    std::size_t i = 0;
    for (std::size_t seen = 0; i < text.size(); ++i) {
        if (IsContinuation(static_cast<unsigned char>(text[i])))
            continue;
        if (seen == index)
            return i;
        ++seen;
    }
    return text.size();
}

std::string_view CharLeft(std::string_view text, std::size_t count) {
    return text.substr(0, ByteOffsetOfChar(text, count));
}

std::string_view CharMid(std::string_view text, std::size_t start, std::size_t count) {
    const std::size_t from = ByteOffsetOfChar(text, start);
    const std::string_view rest = text.substr(from);
    return count == std::string_view::npos ? rest : CharLeft(rest, count);
}

char32_t CodePointAt(std::string_view text, std::size_t offset) {
    if (offset >= text.size())
        return 0;
    return Next(text, offset);
}

std::string Blanks(std::size_t count) {
    return std::string(count, ' ');
}

std::string_view TrimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string UpperCase(std::string_view text) {
    return MapText(text, true);
}
std::string LowerCase(std::string_view text) {
    return MapText(text, false);
}

int CompareNoCase(std::string_view a, std::string_view b) {
    // Two views from the same start (the placeholder names are views of one
    // run) differ only in length.
    if (a.data() == b.data())
        return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
    // Bytes that are the same compare the same: skip them a word at a time,
    // then back to the start of the character the first difference is in.
    std::size_t same = 0;
    const std::size_t shorter = std::min(a.size(), b.size());
    while (same + 8 <= shorter && Word(a.data() + same) == Word(b.data() + same))
        same += 8;
    const auto inside = [](std::string_view text, std::size_t at) {
        return at < text.size() && IsContinuation(static_cast<unsigned char>(text[at]));
    };
    while (same > 0 && (inside(a, same) || inside(b, same)))
        --same;
    std::size_t i = same;
    std::size_t j = same;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        char32_t x;
        char32_t y;
        if (ca < 0x80 && cb < 0x80) {
            // The common case: plain ASCII names.
            x = MapCase(ca, false);
            y = MapCase(cb, false);
            ++i;
            ++j;
        } else {
            x = MapCase(Next(a, i), false);
            y = MapCase(Next(b, j), false);
        }
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

} // namespace nm
