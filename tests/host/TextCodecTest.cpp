// The decoding of a file's bytes into the editor's text and the encoding
// back into the same bytes.
#include "host/TextCodec.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

TEST(FileTextCodec, DecodesAndWritesBackTheSameBytes) {
    // The tests run in the "C" locale, whose legacy code page is GB18030, or
    // on Windows on a Chinese system, whose code page is 936.
    const std::string legacy = nm::LegacyCharset();
    ASSERT_TRUE(legacy == "GB18030" || legacy == "CP936") << legacy;
    // The bytes of a file, their text, and the encoding they were read in.
    const std::vector<std::tuple<std::string, std::string, nm::TextEncoding>> cases = {
        {"A, *ARC\r\n备份\r\n", "A, *ARC\r\n备份\r\n", {"UTF-8", false}},
        {"\xEF\xBB\xBF; aliases", "; aliases", {"UTF-8", true}},
        {";\xB1\xB8\xB7\xDD\r\nA, *ARC", ";备份\r\nA, *ARC", {legacy, false}},
        {"ab\x80\xFF", "ab\xC2\x80\xC3\xBF", {"ISO-8859-1", false}}};
    for (const auto& [bytes, text, encoding] : cases) {
        const nm::DecodedText decoded = nm::DecodeFileText(bytes);
        EXPECT_EQ(decoded.text, text);
        EXPECT_EQ(decoded.encoding, encoding) << encoding.charset;
        EXPECT_EQ(nm::EncodeFileText(decoded.text, decoded.encoding), bytes);
    }
    // A character the code page lacks is written as "?".
    EXPECT_EQ(nm::EncodeFileText("a备\xC3\xA9\xF0\x9F\x98\x80", {"ISO-8859-1", false}), "a?\xE9?");
}
