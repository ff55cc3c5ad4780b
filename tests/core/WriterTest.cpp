// Writing the rows back: the line layouts, the whole file byte for byte, the
// backup copy and what a save leaves behind when it fails.
#include "host/FileIo.h"
#include "tests/support/Doubles.h"

#include "core/ListRows.h"
#include "core/PgpReader.h"
#include "core/PgpWriter.h"
#include "host/RuntimeError.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>

using namespace nm;
using namespace nm::test;

namespace {

const std::string Header = "; 这个 PGP 文件是用 Vectrom 热键编辑器件里的." + std::string(27, ' ') +
                           "\r\n; 最后修改" + std::string(10, ' ') + "11/28/26   09:14:05\r\n\r\n";
const std::string SaveLine4 =
    "; 用热键编辑器 (MAKERNICK 命令) 编辑这个文件." + std::string(30, ' ');
const std::string ShellHeading = "; [操作系统命令]" + std::string(19, ' ');
const std::string AliasHeading = "; [Vectrom 命令热键]" + std::string(11, ' ');

void AddAlias(Main& main, const std::string& name, const std::string& command) {
    main.Lists[AliasList].Add(name, {command, {}, {}});
}

void AddShell(Main& main, const std::string& name, const std::string& command,
              const std::string& flags, const std::string& prompt) {
    main.Lists[ShellList].Add(name, {command, flags, prompt});
}

TEST(Writer, AliasLinesPutTheStarInColumnTwelve) {
    struct Case {
        std::string name, command, line;
    };
    const std::vector<Case> cases = {
        {"CP", "COPY", "CP,        *COPY"},
        {"LONGALIASNAME", "LINE", "LONGALIASNAME, *LINE"},
        {"ABCDEFGHIJ", "X", "ABCDEFGHIJ,*X"},
        {"ABCDEFGHIJK", "X", "ABCDEFGHIJK, *X"},
        {"WEIRD,", "???", "WEIRD,"}, // as read: a placeholder command after its only comma
        // A blank before a name that would not read back as an entry's.
        {"直线", "LINE", " 直线,       *LINE"},
        {";SEMI", "LINE", " ;SEMI,    *LINE"},
        {"\tTAB", "ARC", " \tTAB,     *ARC"},
        {"", "LINE", " ,         *LINE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        AddAlias(h.main, c.name, c.command);
        EXPECT_EQ(PGPString(h.main, AliasList), c.line + "\r\n");
    }
}

TEST(Writer, ShellLinesAlignOverAllRowsIncludingMarkedOnes) {
    Harness h;
    AddShell(h.main, "NOTEPAD", "NOTEPAD", "1", "File to edit:");
    AddShell(h.main, "EXPLORER", "START EXPLORER", "1", "");
    EXPECT_EQ(PGPString(h.main, ShellList), "EXPLORER, START EXPLORER, 1,,\r\n"
                                            "NOTEPAD,  NOTEPAD,        1,*File to edit:,\r\n");
    // A marked row is not written, but its name and command still widen the columns.
    AddShell(h.main, "---", "A MUCH LONGER COMMAND", "0", "");
    EXPECT_EQ(PGPString(h.main, ShellList),
              "EXPLORER, START EXPLORER,        1,,\r\n"
              "NOTEPAD,  NOTEPAD,               1,*File to edit:,\r\n");
    // Paddings are cut to 40 blanks.
    Harness wide;
    AddShell(wide.main, "A", "C", "0", "");
    AddShell(wide.main, std::string(60, 'N'), "C", "0", "");
    EXPECT_EQ(PGPString(wide.main, ShellList).substr(0, 44), "A," + std::string(40, ' ') + "C,");
    EXPECT_EQ(PGPString(wide.main, 2), "");
}

TEST(Writer, RowsAreWrittenInNameOrderInTheListsDirection) {
    Harness h;
    for (const char* name : {"B", "a_b", "AB", "---", "A"})
        AddAlias(h.main, name, "X");
    h.main.Lists[AliasList].SortBy(1, false); // shown by command: the file still goes by name
    const std::string ascending = PGPString(h.main, AliasList);
    EXPECT_EQ(ascending, "A,         *X\r\na_b,       *X\r\nAB,        *X\r\nB,         *X\r\n");
    h.main.Lists[AliasList].SortBy(0, true);
    EXPECT_EQ(PGPString(h.main, AliasList),
              "B,         *X\r\nAB,        *X\r\na_b,       *X\r\nA,         *X\r\n");
}

TEST(Writer, EmptyListsGiveTheBareLayout) {
    Harness h;
    TempDir dir;
    ASSERT_TRUE(SavePgpFile(h.main, dir.Path("vtrm.pgp"), "vtrm.pgp", true));
    EXPECT_EQ(dir.Read("vtrm.pgp"),
              EncodeFileText(Header + SaveLine4 + "\r\n\r\n" + ShellHeading + "\r\n\r\n\r\n\r\n" +
                                 AliasHeading + "\r\n\r\n\r\n",
                             h.main.FileEncoding));
}

TEST(Writer, SavedFileMatchesTheGoldenFileByteForByte) {
    Harness h;
    ASSERT_EQ(ReadPgpFile(h.main, DataPath("handmade.pgp"), false), ReadResult::Completed);
    FillListRows(h.main, false);
    TempDir dir;
    ASSERT_TRUE(SavePgpFile(h.main, dir.Path("out.pgp"), "out.pgp", true));
    EXPECT_EQ(dir.Read("out.pgp"), ReadData("handmade.saved.pgp"));
}

TEST(Writer, BackupNames) {
    const std::string mark = "备份" + std::string(8, ' ');
    const std::string numbered = "备份  (  ";
    struct Case {
        std::string title, backup;
    };
    const std::vector<Case> cases = {
        {"vtrm.pgp", mark + "vtrm.pgp"},
        {mark + "vtrm.pgp", "备份(1)" + std::string(8, ' ') + "vtrm.pgp"},
        {"备份(1)" + std::string(8, ' ') + "vtrm.pgp",
         mark + "备份(1)" + std::string(8, ' ') + "vtrm.pgp"},
        {mark + numbered + "x3.pgp", mark + numbered + "x4.pgp"},
        {mark + numbered + "x9.pgp", mark + numbered + "x1.pgp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(BackupFileName(c.title), c.backup);
    }
    for (const std::string& bad : {mark + numbered + "xy.pgp", mark + numbered + "x"}) {
        try {
            BackupFileName(bad);
            ADD_FAILURE() << "no error for " << bad;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), 13);
        }
    }
}

// Which backup a save keeps, and what it holds. The file opened last is either
// the target itself or another file.
TEST(Writer, BackupOfTheReplacedFile) {
    const std::string opened = "CP,*COPY";
    const std::string other = std::string("L,*LINE\r\n\xB1\xB8", 11);
    struct Case {
        std::string name;
        bool confirm;
        std::string target;  // its content before the save; "-" = no such file
        bool targetIsOpened; // else another file was opened
        std::string title;   // as passed to the save
        std::string backup;  // expected content of "备份        vtrm.pgp"; "-" = none
    };
    const std::vector<Case> cases = {
        {"opened file", true, opened + "\r\n", true, "vtrm.pgp", opened + "\r\n\r\n"},
        {"start-up load: no title", true, opened + "\r\n", true, "", opened + "\r\n\r\n"},
        {"another file's own bytes", true, other, false, "vtrm.pgp", other},
        {"confirm off", false, opened + "\r\n", true, "vtrm.pgp", "-"},
        {"empty target", true, "", false, "vtrm.pgp", "-"},
        {"no target", true, "-", false, "vtrm.pgp", "-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.view.confirm = c.confirm;
        TempDir dir;
        if (c.target != "-")
            dir.Write("vtrm.pgp", c.target);
        const std::string openedPath =
            c.targetIsOpened ? dir.Path("vtrm.pgp") : dir.Write("opened.pgp", opened);
        ASSERT_EQ(ReadPgpFile(h.main, openedPath, false), ReadResult::Completed);
        FillListRows(h.main, false);
        ASSERT_TRUE(SavePgpFile(h.main, dir.Path("vtrm.pgp"), c.title, true));
        EXPECT_EQ(h.main.CurrentFileTitle, "vtrm.pgp");
        EXPECT_EQ(dir.Exists("备份        vtrm.pgp"), c.backup != "-");
        if (c.backup != "-") {
            EXPECT_EQ(dir.Read("备份        vtrm.pgp"), c.backup);
        }
    }
}

TEST(Writer, WritesBackInTheEncodingItWasReadIn) {
#ifdef _WIN32
    const char* const locale = "Chinese_Taiwan.950";
    const std::string dateText = "上午"; // the time's "a.m."
#else
    const char* const locale = "zh_CN.GB18030";
    const std::string dateText = "年";
#endif
    struct RestoreLocale {
        const std::string previous = std::setlocale(LC_ALL, nullptr);
        ~RestoreLocale() { std::setlocale(LC_ALL, previous.c_str()); }
    } restore;
    if (!std::setlocale(LC_ALL, locale))
        GTEST_SKIP() << "no locale " << locale;
    for (const bool legacy : {false, true}) {
        SCOPED_TRACE(legacy ? "legacy code page" : "UTF-8");
        Harness h;
        const std::string file = legacy ? "gb18030.pgp" : "handmade.pgp";
        ASSERT_EQ(ReadPgpFile(h.main, DataPath(file), false), ReadResult::Completed);
        FillListRows(h.main, false);
        TempDir dir;
        ASSERT_TRUE(SavePgpFile(h.main, dir.Path("out.pgp"), "out.pgp", true));
        const DecodedText saved = DecodeFileText(dir.Read("out.pgp"));
        EXPECT_EQ(saved.encoding.charset, legacy ? LegacyCharset() : "UTF-8");
        EXPECT_EQ(saved.text.substr(0, 8), "; 这个");
        EXPECT_NE(saved.text.find(dateText), std::string::npos) << saved.text.substr(0, 200);
    }
}

} // namespace
