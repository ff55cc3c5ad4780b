// Character counting, validity and name order of the editor's UTF-8 text.
#include "host/Utf8.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <tuple>
#include <vector>

TEST(Utf8Text, CountsAndCutsByCharacter) {
    // The text, its length, its first two characters, and the two after the first.
    const std::vector<std::tuple<std::string, std::size_t, std::string, std::string>> cases = {
        {"", 0, "", ""},
        {"a备b文", 4, "a备", "备b"},
        {"\xF0\x9F\x98\x80x", 2, "\xF0\x9F\x98\x80x", "x"}};
    for (const auto& [text, count, left2, mid12] : cases) {
        EXPECT_EQ(nm::CharCount(text), count) << text;
        EXPECT_EQ(nm::CharLeft(text, 2), left2) << text;
        EXPECT_EQ(nm::CharMid(text, 1, 2), mid12) << text;
    }
}

TEST(Utf8Text, CompareNoCaseOrdersByLowerCasedCharacters) {
    // In name order: "_" comes before the letters once they are lower case, a
    // name before its longer forms, ASCII before other characters.
    const std::vector<std::string> names = {"", "A_B", "ab", "ABC", "b", "Z", "备", "备份"};
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        EXPECT_LT(nm::CompareNoCase(names[i], names[i + 1]), 0) << names[i];
        EXPECT_GT(nm::CompareNoCase(names[i + 1], names[i]), 0) << names[i];
    }
    EXPECT_EQ(nm::CompareNoCase("备Ab", "备aB"), 0);
}

TEST(Utf8Text, IsValidUtf8) {
    // Four bytes, U+10FFFF, and U+D7FF just below the surrogates.
    for (const char* bytes :
         {"A, *ARC", "备份", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF", "\xED\x9F\xBF"})
        EXPECT_TRUE(nm::IsValidUtf8(bytes)) << testing::PrintToString(std::string(bytes));
    // Overlong forms, a surrogate, past U+10FFFF, a byte that begins nothing,
    // truncated sequences, a lone continuation byte.
    for (const char* bytes :
         {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80",
          "\xE5\xA4", "ab\xF0\x9F\x98", "\xE2\x28\xA1", "a\xBF-"})
        EXPECT_FALSE(nm::IsValidUtf8(bytes)) << testing::PrintToString(std::string(bytes));
}

// Long texts are checked, counted, mapped and compared a word at a time: over
// random texts of whole characters and stray bytes, with long common
// beginnings, each answer is the one a character at a time gives.
TEST(Utf8Text, WordAtATimeAgreesWithCharacterAtATime) {
    // Eight ASCII pieces (two line ends), two Chinese characters of one lead
    // byte, two stray bytes.
    const std::string pieces[] = {"a",  "A",  "z",  "$",  "@",    "[",
                                  "\r", "\n", "中", "丰", "\x80", "\xBF"};
    const char32_t lower[] = {'a',  'a',  'z',    '$',    '@',    '[',
                              '\r', '\n', 0x4E2D, 0x4E30, 0xFFFD, 0xFFFD};
    struct Text {
        std::string bytes;
        std::u32string lower;
        std::size_t chars = 0; // a stray byte is no character's start
    };
    std::mt19937 random(7);
    const auto grow = [&](Text& text, std::size_t n, std::size_t kinds) {
        for (std::size_t k = 0, at; k < n; ++k) {
            text.bytes += pieces[at = random() % kinds];
            text.lower += lower[at];
            text.chars += at < 10 ? 1 : 0;
        }
    };
    for (int round = 0; round < 3000; ++round) {
        Text a;
        grow(a, random() % 40, random() % 4 ? 6 : std::size(pieces));
        Text b = a;
        grow(a, random() % 12, std::size(pieces));
        grow(b, random() % 12, std::size(pieces));
        const int expected = a.lower < b.lower ? -1 : b.lower < a.lower ? 1 : 0;
        ASSERT_EQ(nm::CompareNoCase(a.bytes, b.bytes), expected) << a.bytes << " | " << b.bytes;
        ASSERT_EQ(std::pair(nm::CharCount(a.bytes), nm::IsValidUtf8(a.bytes)),
                  std::pair(a.chars, a.chars == a.lower.size()));
        // Only ASCII letters change: the Chinese characters have no case.
        std::string upper = a.bytes, lowered = a.bytes;
        for (std::size_t i = 0; i < a.bytes.size(); ++i) {
            upper[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(a.bytes[i])));
            lowered[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(a.bytes[i])));
        }
        ASSERT_EQ(std::pair(nm::UpperCase(a.bytes), nm::LowerCase(a.bytes)),
                  std::pair(upper, lowered));
        // Lines end at CR LF, a bare CR or a bare LF; the last needs no end.
        std::vector<std::string_view> lines;
        const std::string_view all = a.bytes;
        for (std::size_t start = 0, i = 0; i <= all.size(); ++i)
            if (i == all.size() ? start < i : all[i] == '\r' || all[i] == '\n') {
                lines.push_back(all.substr(start, i - start));
                i += i + 1 < all.size() && all[i] == '\r' && all[i + 1] == '\n' ? 1 : 0;
                start = i + 1;
            }
        ASSERT_EQ(nm::SplitLines(all), lines);
    }
}
