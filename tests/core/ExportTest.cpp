// File > Export: the file offered, the export's own line 4, and a document
// left as it was, whether the export is written, cancelled or fails.
#include "tests/support/Doubles.h"

#include "core/Export.h"
#include "host/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace nm;
using namespace nm::test;

namespace {

TEST(Export, OffersTheDocumentsNameAndLeavesTheDocumentAlone) {
    struct Case {
        std::string current, offered;
    };
    const std::vector<Case> cases = {
        {"", ""}, {"/x/vtrm.pgp", "/x/vtrm.pgp"}, {"/x/list.txt", "/x/list.pgp"}, {"a.b", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current);
        Harness h;
        TempDir dir;
        h.main.CurrentFile = c.current;
        h.main.CurrentFileTitle = "list.txt";
        h.main.FileChanged = 1;
        h.main.Lists[AliasList].Add("CP", {"COPY", {}, {}});
        h.dialogs.picks.push_back(dir.Path("out.pgp"));
        ASSERT_TRUE(ExportLists(h.main));
        ASSERT_EQ(h.dialogs.calls.size(), 1u);
        EXPECT_EQ(h.dialogs.calls[0].fileName, c.offered);
        EXPECT_EQ(h.dialogs.calls[0].filter, "Vectrom Program Parameter Files |*.pgp");
        const std::string text = DecodeFileText(dir.Read("out.pgp")).text;
        EXPECT_NE(text.find("\r\n\r\n; 使用热键编辑器 (NICKMAKER 命令) 编辑这个文件." +
                            std::string(29, ' ') + "\r\n"),
                  std::string::npos);
        EXPECT_NE(text.find("CP,        *COPY\r\n"), std::string::npos);
        EXPECT_EQ(h.main.CurrentFile, c.current);
        EXPECT_EQ(h.main.CurrentFileTitle, "list.txt");
        EXPECT_EQ(h.main.FileChanged, 1);
        EXPECT_EQ(h.view.captionUpdates, 0);
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.pgp"});
        EXPECT_EQ(h.host.requests, 0);
    }
}

// A cancel writes nothing and says nothing; a write that fails with an error
// that has no disk box (the name picked is a folder) says so before it ends.
TEST(Export, CancelOrAFailedWriteWritesNothing) {
    for (const bool cancel : {true, false}) {
        Harness h;
        TempDir dir;
        std::filesystem::create_directory(NativePath(dir.Path("folder.pgp")));
        h.dialogs.picks.push_back(cancel ? std::nullopt : std::optional(dir.Path("folder.pgp")));
        EXPECT_FALSE(ExportLists(h.main));
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"folder.pgp"});
        EXPECT_EQ(h.prompter.Texts(),
                  cancel ? std::vector<std::string>{}
                         : std::vector<std::string>{"产生下列错误:\r\n\r\nPath/File access "
                                                    "error\r\n数值:      75"});
    }
}

} // namespace
