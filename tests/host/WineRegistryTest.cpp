// A Wine prefix's registry files: every form Wine writes a value in, and
// values it cannot have written. (Text counted in the prefix's code page is
// tested against Wine itself, in WinePrefixTest_posix.cpp.)
#include "host/WineRegistry.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace nm;

namespace {

// The value of "v" in a key of its own, as its type and its bytes; "-" when
// the value is missing.
std::string Parsed(const std::string& line) {
    std::string got = "-";
    ParseWineRegistry(
        "[Key] 1\n" + line, [](const std::string&) {},
        [&](const std::string& name, MemoryRegistry::Value value) {
            if (name == "v")
                got = std::to_string(value.type) + ":" +
                      std::string(value.data.begin(), value.data.end());
        });
    return got;
}

TEST(WineRegistry, ValueForms) {
    using namespace std::string_literals;
    const std::vector<std::tuple<std::string, std::string>> cases = {
        {R"("v"="plain")", "1:plain\0"s},
        {"\"v\" \t= \"blanks\"", "1:blanks\0"s},
        {R"("v"=str:"typed")", "1:typed\0"s},
        {R"("v"=str(2):"%SystemRoot%\\x")", "2:%SystemRoot%\\x\0"s},
        {R"("v"=str(7):"a\0b\0")", "7:a\0b\0\0"s},
        {R"("v"="\x4e2d\x6587 \x41,\101\60\a\"")", "1:中文 A,A0\a\"\0"s},
        {R"("v"=hex(2):25,00,41,00,25,00,00,00)", "2:%A%\0"s},
        {"\"v\"=hex:01,02,\\\n  03", "3:\x01\x02\x03"s},
        {R"("v"=dword:0000001f)", "4:\x1f\0\0\0"s},
        // What Wine cannot have written is no value at all.
        {R"("v"=dword:1fz)", "-"},
        {R"("v"=hex:01,0g)", "-"},
        {R"("v"=hex(x):01)", "-"},
        {"\"v\"=str(2)\"x\"", "-"},
        {R"("v"="open)", "-"},
        {R"("v"="x" trailing)", "-"},
        {R"("v"=text)", "-"},
        {"\"v\"=hex:01,\\", "-"}, // the file ends inside the value
    };
    for (const auto& [line, expected] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(Parsed(line), expected);
    }
}

} // namespace
