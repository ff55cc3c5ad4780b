// The open dialog that insists on an existing file.
#include "host/FileDialogs.h"
#include "tests/support/Doubles.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace nm;
using namespace nm::test;

TEST(BrowseForFile, AsksAgainUntilAFileExistsAndACancelKeepsTheName) {
    TempDir dir;
    const std::string missing = dir.Path("missing.pgp"), empty = dir.Write("empty.pgp", "");
    const std::string good = dir.Write("good.pgp", "A, *ARC\n");
    ScriptedPrompter prompter;
    ScriptedFileDialogs dialogs;
    SystemFileSystem files;
    dialogs.picks = {missing, empty, good};
    EXPECT_EQ(BrowseForFile(prompter, dialogs, files, "*.pgp|*.pgp", "vtrm.pgp"), good);
    ASSERT_EQ(dialogs.calls.size(), 3u);
    for (const auto& call : dialogs.calls)
        EXPECT_EQ(std::tie(call.kind, call.filter, call.fileName),
                  std::tuple("open", "*.pgp|*.pgp", "vtrm.pgp"));
    const std::string notFound = "\r\n这个文件未找到.\r\n确认当前路径和文件.";
    const std::vector<std::string> expected = {missing + notFound, empty + notFound};
    EXPECT_EQ(prompter.Texts(), expected);
    for (const MessageBox& box : prompter.shown)
        EXPECT_EQ(std::tuple(box.buttons, box.icon, box.title.value_or("")),
                  std::tuple(Buttons::OK, Icon::Exclamation, "文件未找到"));
    // A cancel returns the preselected name as it was, without checking it.
    EXPECT_EQ(BrowseForFile(prompter, dialogs, files, "*.pgp|*.pgp", missing), missing);
    EXPECT_EQ(prompter.Texts(), expected);
}
