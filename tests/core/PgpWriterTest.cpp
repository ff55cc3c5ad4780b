// Writing the rows back: the line layouts, the whole file byte for byte, the
// backup copy, the encoding, the save dialog's overwrite question, and File >
// Export, which writes the lists to another file and leaves the document as
// it was.
#include "tests/core/Boxes.h"

#include "core/Document.h"
#include "core/Export.h"
#include "core/PgpWriter.h"
#include "host/RuntimeError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <tuple>

using namespace nm;
using namespace nm::test;

namespace {

// A file read and saved gives the golden file, whose lines show every layout:
// the header, the star in column 12 or after one blank, a blank before a name
// that would not read back as an entry's, shell columns as wide as their
// widest row (a marked one too) and paddings cut to 40 blanks.
TEST(PgpWriter, SavedFileByteForByte) {
    Harness h;
    TempDir dir;
    ASSERT_EQ(OpenPgpFile(h.main, DataPath("handmade.pgp"), false), ReadResult::Completed);
    ASSERT_TRUE(SavePgpFile(h.main, dir.Path("out.pgp"), "out.pgp", true));
    EXPECT_EQ(dir.Read("out.pgp"), ReadData("handmade.saved.pgp"));
}

TEST(PgpWriter, BackupNames) {
    const std::string mark = "备份" + std::string(8, ' ');
    const std::string numbered = mark + "备份  (  x";
    using Case = std::tuple<std::string, std::string>;
    const std::vector<Case> cases = {
        {"vtrm.pgp", mark + "vtrm.pgp"},
        {mark + "vtrm.pgp", "备份(1)" + std::string(8, ' ') + "vtrm.pgp"},
        {"备份(1)" + std::string(8, ' ') + "vtrm.pgp",
         mark + "备份(1)" + std::string(8, ' ') + "vtrm.pgp"},
        {numbered + "3.pgp", numbered + "4.pgp"},
        {numbered + "9.pgp", numbered + "1.pgp"},
        // No digit where the number stands: a type mismatch.
        {numbered + "y.pgp", "error 13"}};
    for (const auto& [title, expected] : cases) {
        std::string backup;
        try {
            backup = BackupFileName(title);
        } catch (const RuntimeError& e) {
            backup = "error " + std::to_string(e.Number());
        }
        EXPECT_EQ(backup, expected) << title;
    }
}

// Which backup a save keeps, and what it holds. The file opened last is either
// the target itself or another file.
TEST(PgpWriter, BackupOfTheReplacedFile) {
    const std::string opened = "CP,*COPY";
    const std::string other = std::string("L,*LINE\r\n\xB1\xB8", 11);
    // A name; the confirm option; the target's content before the save ("-": no
    // such file); whether the target is the file opened (else another one was);
    // the title passed to the save; the backup's expected content ("-": none).
    using Case = std::tuple<std::string, bool, std::string, bool, std::string, std::string>;
    const std::vector<Case> cases = {
        {"start-up load: no title", true, opened + "\r\n", true, "", opened + "\r\n\r\n"},
        {"another file's own bytes", true, other, false, "vtrm.pgp", other},
        {"confirm off", false, opened + "\r\n", true, "vtrm.pgp", "-"}};
    for (const auto& [name, confirm, target, targetIsOpened, title, backup] : cases) {
        SCOPED_TRACE(name);
        Harness h;
        h.view.confirm = confirm;
        TempDir dir;
        if (target != "-")
            dir.Write("vtrm.pgp", target);
        const std::string openedPath =
            targetIsOpened ? dir.Path("vtrm.pgp") : dir.Write("opened.pgp", opened);
        ASSERT_EQ(OpenPgpFile(h.main, openedPath, false), ReadResult::Completed);
        ASSERT_TRUE(SavePgpFile(h.main, dir.Path("vtrm.pgp"), title, true));
        EXPECT_EQ(dir.Exists("备份        vtrm.pgp") ? dir.Read("备份        vtrm.pgp") : "-",
                  backup);
    }
}

TEST(PgpWriter, WritesBackInTheEncodingItWasReadIn) {
    struct RestoreLocale {
        const std::string previous = std::setlocale(LC_ALL, nullptr);
        ~RestoreLocale() { std::setlocale(LC_ALL, previous.c_str()); }
    } restore;
    // A Chinese locale of Windows or of a POSIX system, and a word of its date
    // line (Windows writes the time's "a.m.").
    const std::vector<std::pair<const char*, std::string>> locales = {
        {"Chinese_Taiwan.950", "上午"}, {"zh_CN.GB18030", "年"}};
    const auto chosen = std::find_if(locales.begin(), locales.end(),
                                     [](const auto& l) { return std::setlocale(LC_ALL, l.first); });
    if (chosen == locales.end())
        GTEST_SKIP() << "no Chinese locale";
    const std::string dateText = chosen->second;
    for (const bool legacy : {false, true}) {
        SCOPED_TRACE(legacy ? "legacy code page" : "UTF-8");
        Harness h;
        const std::string file = legacy ? "gb18030.pgp" : "handmade.pgp";
        ASSERT_EQ(OpenPgpFile(h.main, DataPath(file), false), ReadResult::Completed);
        TempDir dir;
        ASSERT_TRUE(SavePgpFile(h.main, dir.Path("out.pgp"), "out.pgp", true));
        const DecodedText saved = DecodeFileText(dir.Read("out.pgp"));
        EXPECT_EQ(saved.encoding.charset, legacy ? LegacyCharset() : "UTF-8");
        EXPECT_NE(saved.text.find(dateText), std::string::npos) << saved.text.substr(0, 200);
    }
}

TEST(AskSaveFileName, AsksBeforeOverwriting) {
    // A name, the confirm option, the answers, the picks ("old" exists, "new"
    // does not) and the file chosen.
    using Case = std::tuple<std::string, bool, std::vector<Answer>,
                            std::vector<std::optional<std::string>>, std::string>;
    // Each answer is to one question; each pick is one showing of the dialog.
    const std::vector<Case> cases = {
        {"new file", true, {}, {"new"}, "new"},
        {"yes overwrites", true, {Answer::Yes}, {"old"}, "old"},
        {"cancel gives up", true, {Answer::Cancel}, {"old"}, ""},
        {"no asks again", true, {Answer::No}, {"old", "new"}, "new"},
        {"option off overwrites without a question", false, {}, {"old"}, "old"}};
    for (const auto& [name, confirm, answers, picks, result] : cases) {
        SCOPED_TRACE(name);
        Harness h;
        TempDir dir;
        dir.Write("old", "x");
        h.view.confirm = confirm;
        h.main.CurrentFileTitle = "doc.pgp";
        h.prompter.answers.assign(answers.begin(), answers.end());
        for (const auto& pick : picks)
            h.dialogs.picks.push_back(pick ? std::optional(dir.Path(*pick)) : std::nullopt);
        const std::string chosen = AskSaveFileName(h.main, "F |*.pgp", "offer.pgp");
        EXPECT_EQ(chosen, result.empty() ? "" : dir.Path(result));
        EXPECT_EQ(h.dialogs.calls.size(), picks.size());
        const std::string question = Box(
            {dir.Path("old") + "\r\n\r\n这个配置文件已经存在. 你想覆盖它吗?" + std::string(49, ' '),
             Buttons::YesNoCancel, Icon::Exclamation, "覆盖" + std::string(8, ' ') + "doc.pgp?",
             2});
        EXPECT_EQ(Boxes(h.prompter), Rows(answers.size(), question));
    }
}

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
        // The second export is cancelled, which says nothing. (A write that
        // fails is the fault matrix's.)
        h.dialogs.picks = {dir.Path("out.pgp"), std::nullopt};
        ASSERT_TRUE(ExportLists(h.main));
        EXPECT_FALSE(ExportLists(h.main));
        EXPECT_EQ(h.dialogs.calls.at(0).fileName + h.dialogs.calls.at(0).filter,
                  offered + "Vectrom Program Parameter Files |*.pgp");
        const std::string text = DecodeFileText(dir.Read("out.pgp")).text;
        EXPECT_NE(text.find("\r\n\r\n; 使用热键编辑器 (NICKMAKER 命令) 编辑这个文件." +
                            std::string(29, ' ') + "\r\n"),
                  std::string::npos);
        EXPECT_NE(text.find("CP,        *COPY\r\n"), std::string::npos);
        // Neither the user, the document, its caption, the host nor the folder
        // hear of more.
        EXPECT_EQ(std::tuple(h.prompter.shown.size(), h.main.CurrentFile, h.main.CurrentFileTitle,
                             h.main.FileChanged, h.view.captionUpdates, h.host.requests),
                  std::tuple(0u, current, "list.txt", 1, 0, 0));
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.pgp"});
    }
}

} // namespace
