// The message after a save, depending on whether the running host re-read
// its program-parameters file.
#include "HostNotification.h"
#include "Doubles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using nm::Icon;

TEST(NotifyHost, TellsTheUserWhenTheAliasesTakeEffect) {
    const std::string updated = "你的 Vectrom 热键被保存并且当前 Vectrom 进程被更新.";
    const std::string nextStart = "你的 Vectrom 热键被保存并且对你下一个 Vectrom 进程发生作用.";
    const std::string refused = "你的改变被保存, 但当前 Vectrom 进程不能更新.\r\n\r\n"
                                "请用 Vectrom REINIT 命令更新你的热键.\r\n(Error ";
    struct Box {
        std::string text;
        Icon icon;
    };
    struct Case {
        int failWith;
        bool quiet;
        std::vector<Box> expected;
    };
    const std::vector<Case> cases = {
        {0, false, {{updated, Icon::Information}}},
        {0, true, {}},
        {429, false, {{nextStart, Icon::Information}}},
        {429, true, {{nextStart, Icon::Information}}},
        {438,
         false,
         {{refused + "438), Application-defined or object-defined error", Icon::Exclamation}}},
        {5, false, {{refused + "5), Invalid procedure call or argument", Icon::Exclamation}}},
        {438, true, {}},
        {5, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "error " << c.failWith << " quiet " << c.quiet);
        nm::test::ScriptedPrompter prompter;
        nm::test::ScriptedHostLink host;
        host.failWith = c.failWith;
        nm::NotifyHost(prompter, host, c.quiet);
        EXPECT_EQ(host.requests, 1);
        EXPECT_FALSE(prompter.busy);
        EXPECT_EQ(prompter.busyChanges, 2);
        ASSERT_EQ(prompter.shown.size(), c.expected.size());
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(prompter.shown[i].text, c.expected[i].text);
            EXPECT_EQ(prompter.shown[i].icon, c.expected[i].icon);
            EXPECT_EQ(prompter.shown[i].buttons, nm::Buttons::OK);
        }
    }
}
