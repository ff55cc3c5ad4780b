// Character counting, trimming, letter case and name order of the editor's
// UTF-8 text, and the decoding and encoding of a file's bytes.
#include "Text.h"
#include "TextCodec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(Utf8Text, CountsAndCutsByCharacter) {
    struct Case {
        std::string text;
        std::size_t count;
        std::size_t start;
        std::size_t length;
        std::string left; // the first `length` characters
        std::string mid;  // `length` characters from `start`
    };
    const std::vector<Case> cases = {{"", 0, 0, 2, "", ""},
                                     {"ARC", 3, 1, 1, "A", "R"},
                                     {"备份文件", 4, 1, 2, "备份", "份文"},
                                     {"a备b", 3, 1, 2, "a备", "备b"},
                                     {"\xF0\x9F\x98\x80x", 2, 1, 1, "\xF0\x9F\x98\x80", "x"},
                                     {"备份", 2, 5, 9, "备份", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(nm::CharCount(c.text), c.count);
        EXPECT_EQ(nm::CharLeft(c.text, c.length), c.left);
        EXPECT_EQ(nm::CharMid(c.text, c.start, c.length), c.mid);
    }
    EXPECT_EQ(nm::CharMid("a备b文", 1), "备b文");
}

TEST(Utf8Text, TrimSpacesRemovesOnlyBlanks) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"  LINE  ", "LINE"}, {"a b", "a b"},           {"   ", ""},
        {"\tL\t", "\tL\t"},   {" \t L \t ", "\t L \t"}, {"　备　", "　备　"},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(nm::TrimSpaces(text), expected);
    }
}

TEST(Utf8Text, ChangesTheCaseOfAsciiLetters) {
    EXPECT_EQ(nm::UpperCase("line_备份 z9"), "LINE_备份 Z9");
    EXPECT_EQ(nm::LowerCase("LINE_备份 Z9"), "line_备份 z9");
}

TEST(Utf8Text, CompareNoCaseOrdersByLowerCasedCharacters) {
    struct Case {
        std::string a;
        std::string b;
        int sign;
    };
    const std::vector<Case> cases = {{"a", "A", 0},      {"A_B", "AB", -1}, {"AB", "a_b", 1},
                                     {"abc", "ABD", -1}, {"AB", "abc", -1}, {"B", "a", 1},
                                     {"", "", 0},        {"", "a", -1},     {"备A", "备a", 0},
                                     {"Z", "备", -1},    {"备份", "备", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a + " vs " + c.b);
        const int result = nm::CompareNoCase(c.a, c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign);
    }
}

TEST(Utf8Text, IsValidUtf8) {
    // Four bytes, U+10FFFF, and U+D7FF just below the surrogates.
    for (const char* bytes :
         {"", "A, *ARC", "备份", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF", "\xED\x9F\xBF"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(bytes)));
        EXPECT_TRUE(nm::IsValidUtf8(bytes));
    }
    // Overlong forms, a surrogate, past U+10FFFF, no such lead byte, truncated
    // sequences, lone continuation bytes, a lead byte without continuation.
    for (const char* bytes : {"\xC0\xAF", "\xE0\x80\xAF", "\xF0\x80\x80\xAF", "\xED\xA0\x80",
                              "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xE5\xA4", "ab\xF0\x9F\x98",
                              "\x80", "a\xBF-", "\xE2\x28\xA1", "\xE2\x82\x28"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(bytes)));
        EXPECT_FALSE(nm::IsValidUtf8(bytes));
    }
}

TEST(FileTextCodec, DecodesAndWritesBackTheSameBytes) {
    // The tests run in the "C" locale, whose legacy code page is GB18030.
    ASSERT_EQ(nm::LegacyCharset(), "GB18030");
    struct Case {
        std::string bytes;
        std::string text;
        std::string charset;
        bool byteOrderMark;
    };
    std::vector<Case> cases = {
        {"", "", "UTF-8", false},
        {"A, *ARC\r\n备份\r\n", "A, *ARC\r\n备份\r\n", "UTF-8", false},
        {"\xEF\xBB\xBF; aliases", "; aliases", "UTF-8", true},
        {"\xEF\xBB\xBF", "", "UTF-8", true},
        {";\xB1\xB8\xB7\xDD\r\nA, *ARC", ";备份\r\nA, *ARC", "GB18030", false},
        {"ab\x80\xFF", "ab\xC2\x80\xC3\xBF", "ISO-8859-1", false},
    };
    // Long enough to take several rounds of the converter's buffer.
    std::string longBytes;
    std::string longText;
    for (int i = 0; i < 3000; ++i) {
        longBytes += "\xB1\xB8\xB7\xDD";
        longText += "备份";
    }
    cases.push_back({longBytes, longText, "GB18030", false});
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes.substr(0, 16)));
        const nm::DecodedText decoded = nm::DecodeFileText(c.bytes);
        EXPECT_EQ(decoded.text, c.text);
        EXPECT_EQ(decoded.encoding.charset, c.charset);
        EXPECT_EQ(decoded.encoding.byteOrderMark, c.byteOrderMark);
        EXPECT_EQ(nm::EncodeFileText(decoded.text, decoded.encoding), c.bytes);
    }
}

TEST(FileTextCodec, WritesAQuestionMarkForACharacterTheCodePageLacks) {
    const nm::TextEncoding latin1{"ISO-8859-1", false};
    EXPECT_EQ(nm::EncodeFileText("a备b", latin1), "a?b");
    EXPECT_EQ(nm::EncodeFileText("备\xF0\x9F\x98\x80\xC3\xA9", latin1), "??\xE9");
    EXPECT_EQ(nm::EncodeFileText("x备", latin1), "x?");
}
