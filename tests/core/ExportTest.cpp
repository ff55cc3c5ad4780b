// File > Export: the file offered, the export's own line 4, and a document
// left as it was, whether the export is written, cancelled or fails.
#include "tests/support/Doubles.h"

#include "core/Export.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace nm;
using namespace nm::test;

namespace {

TEST(Export, OffersTheDocumentsNameAndLeavesTheDocumentAlone) {
    // The document's file, and the name the save dialog offers.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""}, {"/x/vtrm.pgp", "/x/vtrm.pgp"}, {"/x/list.txt", "/x/list.pgp"}, {"a.b", ""}};
    for (const auto& [current, offered] : cases) {
        SCOPED_TRACE(current);
        Harness h;
        TempDir dir;
        h.main.CurrentFile = current;
        h.main.CurrentFileTitle = "list.txt";
        h.main.FileChanged = 1;
        h.main.Lists[AliasList].Add("CP", {"COPY", {}, {}});
        h.dialogs.picks.push_back(dir.Path("out.pgp"));
        ASSERT_TRUE(ExportLists(h.main));
        ASSERT_EQ(h.dialogs.calls.size(), 1u);
        EXPECT_EQ(h.dialogs.calls[0].fileName + h.dialogs.calls[0].filter,
                  offered + "Vectrom Program Parameter Files |*.pgp");
        const std::string text = DecodeFileText(dir.Read("out.pgp")).text;
        EXPECT_NE(text.find("\r\n\r\n; 使用热键编辑器 (NICKMAKER 命令) 编辑这个文件." +
                            std::string(29, ' ') + "\r\n"),
                  std::string::npos);
        EXPECT_NE(text.find("CP,        *COPY\r\n"), std::string::npos);
        // Neither the document, its caption, the host nor the folder hear of more.
        EXPECT_EQ(std::tuple(h.main.CurrentFile, h.main.CurrentFileTitle, h.main.FileChanged,
                             h.view.captionUpdates, h.host.requests),
                  std::tuple(current, "list.txt", 1, 0, 0));
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.pgp"});
    }
}

// A cancel says nothing. (A write that fails is the fault
// matrix's.)
TEST(Export, CancelWritesNothing) {
    Harness h;
    h.dialogs.picks.push_back(std::nullopt);
    EXPECT_FALSE(ExportLists(h.main));
    EXPECT_TRUE(h.prompter.shown.empty());
}

} // namespace
