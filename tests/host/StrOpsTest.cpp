// The string routines under the registry and the locator.
#include "host/StrOps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace nm;

TEST(StrOps, ReplaceSplitAndTrim) {
    EXPECT_EQ(StrReplace("/", "\\", "a/b//c"), "a\\b\\\\c");
    EXPECT_EQ(StrReplace("aa", "b", "aaa"), "ba");
    EXPECT_EQ(StrReplace("", "x", "abc"), "abc");
    EXPECT_EQ(StrSplit(";", "a;;b;"), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(StrSplit(";", ""), std::vector<std::string>{""});
    EXPECT_EQ(TrimBlanks("\ta\tb  "), "a b");
    EXPECT_EQ(TrimLeading("\"\"\"x", "\""), "x");
    EXPECT_EQ(TrimTrailing("x\"\"", "\""), "x");
}
