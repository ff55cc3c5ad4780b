// Reading program-parameters files: line kinds, comma classes, placeholders,
// limits and the state a failed read leaves behind.
#include "tests/support/Doubles.h"

#include "core/ListRows.h"
#include "core/PgpReader.h"
#include "core/PgpWriter.h"

#include <gtest/gtest.h>

using namespace nm;
using namespace nm::test;

namespace {

struct Loaded {
    std::vector<std::string> aliases; // "NAME|COMMAND"
    std::vector<std::string> shells;  // "NAME|COMMAND|FLAGS|PROMPT|REST"
};

Loaded LoadLists(const Main& main) {
    Loaded out;
    EXPECT_EQ(main.AliasNames.size(), static_cast<std::size_t>(main.AliasUpper + 1));
    EXPECT_EQ(main.ShellRest.size(), static_cast<std::size_t>(main.ShellUpper + 1));
    for (std::size_t i = 0; i < main.AliasNames.size(); ++i)
        out.aliases.push_back(main.AliasNames[i] + "|" + main.AliasCommands[i]);
    for (std::size_t i = 0; i < main.ShellNames.size(); ++i)
        out.shells.push_back(main.ShellNames[i] + "|" + main.ShellCommands[i] + "|" +
                             main.ShellFlags[i] + "|" + main.ShellPrompts[i] + "|" +
                             main.ShellRest[i]);
    return out;
}

const std::string Unreadable = "不可识别的错误在 PGP 文件.";

TEST(Reader, ClassifiesEachLineKind) {
    struct Case {
        std::string line;
        std::vector<std::string> aliases;
        std::vector<std::string> shells;
    };
    const std::vector<Case> cases = {
        {"CP,*COPY", {"CP|COPY"}, {}},
        {"CP,     *COPY", {"CP|COPY"}, {}},
        {"CP,COPY", {"CP|COPY"}, {}},
        {"CP, **COPY", {"CP|COPY"}, {}},
        {"CP,\"'!COPY", {"CP|COPY"}, {}},
        {"LA,-LAYER", {"LA|-LAYER"}, {}},
        {"PX,+X", {"PX|+X"}, {}},
        {"UL,_LINE", {"UL|_LINE"}, {}},
        {"DX,.X", {"DX|.X"}, {}},
        {"ST,*", {"ST|*"}, {}},
        {"BR,{|}~B", {"BR|B"}, {}},
        {"CN,*中LINE", {"CN|LINE"}, {}},
        {"REDRAW", {"$|REDRAW"}, {}},
        {"S,C,1,,\r\nREDRAW", {"$|REDRAW"}, {"S|C|1||"}}, // also after a shell line
        {"WEIRD,", {"WEIRD,|?"}, {}},
        {",NONAME", {"---|NONAME"}, {}},
        {"  ;A", {"$|;A"}, {}},
        {"; comment", {}, {}},
        {"\tTAB,*X", {}, {}},
        {"中文,*LINE", {}, {}},
        {"    ", {}, {}},
        {"", {}, {}},
        {"NOTEPAD, NOTEPAD, 1,*File to edit: ,", {}, {"NOTEPAD| NOTEPAD| 1|File to edit: |"}},
        {"X,C,0,,", {}, {"X|C|0||"}},
        {"X,C,0,*P,0", {}, {"X|C|0|P|0"}},
        {"X,,,**P,,a,b", {}, {"X|||*P|,a,b"}},
        {",,,,", {}, {"||||"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        Harness h;
        TempDir dir;
        ASSERT_EQ(ReadPgpFile(h.main, dir.Write("f.pgp", c.line + "\r\n"), false),
                  ReadResult::Completed);
        const Loaded got = LoadLists(h.main);
        EXPECT_EQ(got.aliases, c.aliases);
        EXPECT_EQ(got.shells, c.shells);
        EXPECT_TRUE(h.prompter.shown.empty());
    }
}

TEST(Reader, EveryLineEndEndsALine) {
    const std::vector<std::string> texts = {"A,*ARC\r\n; c\r\nL,*LINE\r\n", "A,*ARC\r; c\rL,*LINE",
                                            "A,*ARC\n; c\nL,*LINE\n", "A,*ARC\r\n; c\rL,*LINE\n"};
    for (const auto& text : texts) {
        Harness h;
        TempDir dir;
        ASSERT_EQ(ReadPgpFile(h.main, dir.Write("f.pgp", text), false), ReadResult::Completed);
        EXPECT_EQ(LoadLists(h.main).aliases, (std::vector<std::string>{"A|ARC", "L|LINE"}));
        EXPECT_EQ(h.main.OriginalText, "A,*ARC\r\n; c\r\nL,*LINE\r\n");
    }
}

TEST(Reader, PlaceholdersNumberUpAcrossReads) {
    Harness h;
    TempDir dir;
    ReadPgpFile(h.main, dir.Write("a.pgp", "ONE\r\nTWO,\r\n"), false);
    EXPECT_EQ(LoadLists(h.main).aliases, (std::vector<std::string>{"$|ONE", "TWO,|??"}));
    ReadPgpFile(h.main, dir.Write("b.pgp", "THREE\r\n"), false);
    EXPECT_EQ(LoadLists(h.main).aliases, (std::vector<std::string>{"$$$|THREE"}));
    EXPECT_EQ(h.main.PlaceholderCount, 3);
}

// A failed read keeps exactly the entries of the lines before the failing one,
// names that line to the user, and marks the document partial; a file that
// cannot be read at all changes nothing but the load lists.
TEST(Reader, FailedReadKeepsTheEntriesBeforeTheFailingLine) {
    struct Case {
        std::string name;
        std::string text; // "-": no such file
        std::vector<std::string> aliases;
        std::vector<std::string> shells;
        int line; // the line the read stops at; 0: nothing was read
        std::string lineText;
        std::int16_t placeholders = 0;
    };
    const std::vector<Case> cases = {
        {"two commas",
         "CP,*COPY\r\nS,C,1,,\r\nX,C,0\r\nL,*LINE\r\n",
         {"CP|COPY"},
         {"S|C|1||"},
         3,
         "X,C,0"},
        {"three commas", "CP,*COPY\r\nX,C,0,*P\r\nS,C,1,,\r\n", {"CP|COPY"}, {}, 2, "X,C,0,*P"},
        {"blank command", "S,C,1,,\r\n; c\r\nCP,   \r\nL,*LINE\r\n", {}, {"S|C|1||"}, 3, "CP,   "},
        {"placeholder limit",
         "ONE\r\nTWO\r\nL,*LINE\r\n",
         {std::string(32767, '$') + "|ONE"},
         {},
         2,
         "TWO",
         32766},
        {"missing file", "-", {}, {}, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        TempDir dir;
        ReadPgpFile(h.main, dir.Write("a.pgp", "Z,*ZOOM\r\n"), false);
        h.main.PlaceholderCount = c.placeholders;
        const std::string path = c.text == "-" ? dir.Path("f.pgp") : dir.Write("f.pgp", c.text);
        EXPECT_EQ(ReadPgpFile(h.main, path, false),
                  c.line ? ReadResult::Failed : ReadResult::Unread);
        ASSERT_EQ(h.prompter.Texts(),
                  std::vector<std::string>{
                      Unreadable +
                      (c.line ? "\r\n第 " + std::to_string(c.line) + " 行: " + c.lineText : "")});
        EXPECT_EQ(h.prompter.shown[0].icon, Icon::None);
        const Loaded got = LoadLists(h.main);
        EXPECT_EQ(got.aliases, c.aliases);
        EXPECT_EQ(got.shells, c.shells);
        EXPECT_EQ(h.main.PartialLine, c.line);
        EXPECT_EQ(h.main.PartialText, c.lineText);
        // The document knows the file it read, or still the one before.
        EXPECT_EQ(h.main.OriginalFile, c.line ? path : dir.Path("a.pgp"));
        EXPECT_EQ(h.main.Disk.path, h.main.OriginalFile);
    }
}

TEST(Reader, StopsAtTheEntryLineLimit) {
    for (const int lines : {32767, 32768}) {
        SCOPED_TRACE(lines);
        std::string text = "; header\r\n";
        for (int i = 0; i < lines; ++i)
            text += (i % 2 ? "A" : "S") + std::to_string(i) + (i % 2 ? ",*B\r\n" : ",C,1,,\r\n");
        Harness h;
        TempDir dir;
        const ReadResult result = ReadPgpFile(h.main, dir.Write("f.pgp", text), false);
        EXPECT_EQ(h.main.AliasUpper + h.main.ShellUpper + 2, 32767);
        EXPECT_EQ(result, lines == 32767 ? ReadResult::Completed : ReadResult::Failed);
        EXPECT_EQ(h.main.PartialLine, lines == 32767 ? 0 : 32769);
        // A save writes as many entries as a file holds, and refuses one more:
        // the next read would lose the last.
        FillListRows(h.main, false);
        EXPECT_TRUE(SavePgpFile(h.main, dir.Path("out.pgp"), "", true, false));
        AddEntryRow(h.main, AliasList, {"ONE", "MORE", {}, {}});
        EXPECT_FALSE(SavePgpFile(h.main, dir.Path("out.pgp"), "", true, false));
        EXPECT_NE(h.prompter.Texts().back().find("列表中有 32768 个"), std::string::npos);
    }
}

TEST(Reader, ImportLeavesTheOpenedFilesTextAlone) {
    Harness h;
    TempDir dir;
    ReadPgpFile(h.main, dir.Write("a.pgp", "; first\r\nCP,*COPY"), false);
    ReadPgpFile(h.main, dir.Write("b.pgp", "; second\r\nL,*LINE\r\n"), true);
    EXPECT_EQ(h.main.OriginalText, "; first\r\nCP,*COPY\r\n");
    EXPECT_EQ(h.main.OriginalFile, dir.Path("a.pgp"));
    EXPECT_EQ(LoadLists(h.main).aliases, (std::vector<std::string>{"L|LINE"}));
}

TEST(Reader, RemembersTheEncodingOfTheFile) {
    Harness h;
    ASSERT_EQ(ReadPgpFile(h.main, DataPath("gb18030.pgp"), false), ReadResult::Completed);
    EXPECT_EQ(h.main.FileEncoding.charset, LegacyCharset());
    // The line that begins with a Chinese character is dropped; its text stays.
    EXPECT_EQ(LoadLists(h.main).aliases, (std::vector<std::string>{"CP|COPY"}));
    EXPECT_NE(h.main.OriginalText.find("中,*LINE\r\n"), std::string::npos);

    TempDir dir;
    ReadPgpFile(h.main,
                dir.Write("bom.pgp", "\xEF\xBB\xBF"
                                     "CP,*COPY\r\n"),
                false);
    EXPECT_EQ(h.main.FileEncoding, (TextEncoding{"UTF-8", true}));
    EXPECT_EQ(LoadLists(h.main).aliases, (std::vector<std::string>{"CP|COPY"}));
}

} // namespace
