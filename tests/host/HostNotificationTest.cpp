// The message after a save, depending on whether the running host re-read
// its program-parameters file.
#include "host/HostNotification.h"
#include "tests/support/Doubles.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using nm::Icon;

TEST(NotifyHost, TellsTheUserWhenTheAliasesTakeEffect) {
    const std::string updated = "你的 Vectrom 热键被保存并且当前 Vectrom 进程被更新.";
    const std::string nextStart = "你的 Vectrom 热键被保存并且对你下一个 Vectrom 进程发生作用.";
    const std::string refused = "你的改变被保存, 但当前 Vectrom 进程不能更新.\r\n\r\n"
                                "请用 Vectrom REINIT 命令更新你的热键.\r\n(Error 1004), "
                                "Application-defined or object-defined error";
    // The error the host link raises (0: the host re-read its file), whether
    // the save was quiet, and the message (none when empty). A host that is
    // not running is worth a word even after a quiet save.
    const std::vector<std::tuple<int, bool, std::string, Icon>> cases = {
        {0, false, updated, Icon::Information},     {0, true, "", Icon::None},
        {429, false, nextStart, Icon::Information}, {429, true, nextStart, Icon::Information},
        {1004, false, refused, Icon::Exclamation},  {1004, true, "", Icon::None},
    };
    for (const auto& [failWith, quiet, text, icon] : cases) {
        SCOPED_TRACE(testing::Message() << "error " << failWith << " quiet " << quiet);
        nm::test::ScriptedPrompter prompter;
        nm::test::ScriptedHostLink host;
        host.failWith = failWith;
        nm::NotifyHost(prompter, host, quiet);
        // One request, under the busy pointer, which is gone again.
        EXPECT_EQ(std::tuple(host.requests, prompter.busyChanges, prompter.busy),
                  std::tuple(1, 2, false));
        ASSERT_EQ(prompter.shown.size(), text.empty() ? 0u : 1u);
        for (const auto& box : prompter.shown)
            EXPECT_EQ(std::tuple(box.text, box.icon, box.buttons),
                      std::tuple(text, icon, nm::Buttons::OK));
    }
}
