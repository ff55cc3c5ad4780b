#include "core/CompactText.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

namespace nm {
namespace {

// Every way a text is held (in place, at the edge, on the heap, a lasting
// view) keeps its bytes through copies, moves and assignments, and the
// source of a move is left empty.
TEST(CompactText, KeepsItsBytesHoweverItIsHeld) {
    static const std::string run(300, '$');
    for (const std::string& text : {std::string(), std::string("L"), std::string(15, 'x'),
                                    std::string(16, 'y'), std::string("名称,") + run}) {
        for (const bool lasting : {false, true}) {
            SCOPED_TRACE(text.size());
            const CompactText made = lasting ? CompactText::Lasting(text) : CompactText(text);
            CompactText copy(made);
            CompactText assigned("old text that is longer than fifteen");
            assigned = copy;
            assigned = static_cast<const CompactText&>(assigned);
            CompactText moved(std::move(copy));
            EXPECT_TRUE(copy.empty());
            for (const CompactText* held :
                 std::initializer_list<const CompactText*>{&made, &assigned, &moved})
                EXPECT_EQ(held->View(), text);
            // A lasting view of more than fifteen bytes is the text itself.
            EXPECT_EQ(lasting && text.size() > 15, made.View().data() == text.data());
        }
    }
}

TEST(CompactText, TrimsAndUpperCasesOnlyWhatChanges) {
    static const std::string run(40, '$');
    const struct {
        CompactText text;
        std::string upper, trimmed;
        bool viewKept;
    } cases[] = {
        {CompactText::Lasting(run), run, run, true},
        {CompactText("  line , "), "LINE ,", "line ,", false},
        {CompactText("ABC"), "ABC", "ABC", false},
    };
    for (const auto& c : cases) {
        CompactText upper = c.text;
        CompactText trimmed = c.text;
        TrimAndUpperCase(upper);
        TrimSpacesInPlace(trimmed);
        EXPECT_EQ(upper.View(), c.upper);
        EXPECT_EQ(trimmed.View(), c.trimmed);
        EXPECT_EQ(upper.View().data() == c.text.View().data(), c.viewKept);
    }
}

} // namespace
} // namespace nm
