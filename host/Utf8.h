// UTF-8 text as the editor counts it: lengths, positions and padding are in
// characters (code points), never bytes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace nm {

bool IsValidUtf8(std::string_view text);
// Appends one code point in UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);
// The lines of a text: a line ends at CR LF, a bare CR or a bare LF; the last
// line needs no end.
std::vector<std::string_view> SplitLines(std::string_view text);
// The position of the first CR or LF at or after `from` (text.size() when
// there is none), found eight bytes at a time.
std::size_t FindLineEnd(std::string_view text, std::size_t from);
// Calls `take` with each line of the text in order, as SplitLines splits it.
template <typename Take> void ForEachLine(std::string_view text, Take&& take) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = FindLineEnd(text, start);
        take(text.substr(start, end - start));
        if (end >= text.size())
            break;
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
}

// Number of characters.
std::size_t CharCount(std::string_view text);
// Byte offset of the character at 0-based position `index` (text.size() past the end).
std::size_t ByteOffsetOfChar(std::string_view text, std::size_t index);
// The first `count` characters.
std::string_view CharLeft(std::string_view text, std::size_t count);
// From the 0-based character position `start`, at most `count` characters.
std::string_view CharMid(std::string_view text, std::size_t start,
                         std::size_t count = std::string_view::npos);
// The code point that begins at byte `offset` (U+FFFD for a broken sequence).
char32_t CodePointAt(std::string_view text, std::size_t offset);

std::string Blanks(std::size_t count);
// Without leading and trailing blanks (only the blank character counts).
std::string_view TrimSpaces(std::string_view text);

// Letter case of the platform's text routines: ASCII always, other letters as
// the C library's current locale knows them.
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);

// Name order: character by character after lower-casing. Negative, zero or
// positive, as strcmp.
int CompareNoCase(std::string_view a, std::string_view b);

} // namespace nm
