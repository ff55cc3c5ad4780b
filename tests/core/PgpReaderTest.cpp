// Reading program-parameters files: line kinds, comma classes, placeholders,
// line ends and numbers, hostile bytes, the entry line limit and the state a
// failed read leaves behind.
#include "tests/support/Doubles.h"

#include "core/ListRows.h"
#include "core/PgpCheck.h"
#include "core/PgpReader.h"
#include "core/PgpWriter.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace nm;
using namespace nm::test;

namespace {

using Lines = std::vector<std::string>;

// The aliases "NAME|COMMAND" and shell commands "NAME|COMMAND|FLAGS|PROMPT|REST"
// of the load lists.
std::pair<Lines, Lines> LoadLists(const Main& main) {
    EXPECT_TRUE(main.AliasNames.size() == static_cast<std::size_t>(main.AliasUpper + 1) &&
                main.ShellRest.size() == static_cast<std::size_t>(main.ShellUpper + 1) &&
                main.AliasLines.size() == main.AliasNames.size() &&
                main.ShellLines.size() == main.ShellNames.size());
    Lines aliases, shells;
    for (std::size_t i = 0; i < main.AliasNames.size(); ++i)
        aliases.push_back(main.AliasNames[i] + "|" + main.AliasCommands[i]);
    for (std::size_t i = 0; i < main.ShellNames.size(); ++i)
        shells.push_back(main.ShellNames[i] + "|" + main.ShellCommands[i] + "|" +
                         main.ShellFlags[i] + "|" + main.ShellPrompts[i] + "|" + main.ShellRest[i]);
    return {aliases, shells};
}

TEST(PgpReader, ClassifiesEachLineKind) {
    // A line, and the alias or (after "S:") the shell command it gives; "": none.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"CP,*COPY", "CP|COPY"},
        {"CP,COPY", "CP|COPY"},
        {"CP, **COPY", "CP|COPY"},
        {"PX,+X", "PX|+X"},
        {"ST,*", "ST|*"},
        {"BR,{|}~B", "BR|B"},
        {"CN,*中LINE", "CN|LINE"},
        {"REDRAW", "$|REDRAW"},
        {"WEIRD,", "WEIRD,|?"},
        {",NONAME", "---|NONAME"},
        {"  ;A", "$|;A"},
        {"; comment", ""},
        {"\tTAB,*X", ""},
        {"中文,*LINE", ""},
        {"    ", ""},
        {"", ""},
        {"NOTEPAD, NOTEPAD, 1,*File to edit: ,", "S:NOTEPAD| NOTEPAD| 1|File to edit: |"},
        {"X,C,0,*P,0", "S:X|C|0|P|0"},
        {"X,,,**P,,a,b", "S:X|||*P|,a,b"},
        {"S,C,1,,\r\nREDRAW", "$|REDRAW S:S|C|1||"}};
    for (const auto& [line, expected] : cases) {
        SCOPED_TRACE(line);
        Harness h;
        TempDir dir;
        ASSERT_EQ(ReadPgpFile(h.main, dir.Write("f.pgp", line + "\r\n"), false),
                  ReadResult::Completed);
        const auto [aliases, shells] = LoadLists(h.main);
        std::string read;
        for (const std::string& alias : aliases)
            read += alias + " ";
        for (const std::string& shell : shells)
            read += "S:" + shell + " ";
        EXPECT_EQ(read, expected.empty() ? "" : expected + " ");
        EXPECT_TRUE(h.prompter.shown.empty());
    }
}

// CR LF, a bare CR and a bare LF each end a line, for the entries, their line
// numbers and the text a backup keeps.
TEST(PgpReader, EveryLineEndEndsALine) {
    for (const std::string text :
         {"A,*ARC\r\n; c\r\nS,C,1,,\r\nL,*LINE\r\n", "A,*ARC\r; c\rS,C,1,,\rL,*LINE",
          "A,*ARC\r\n; c\rS,C,1,,\nL,*LINE\n"}) {
        Harness h;
        TempDir dir;
        ASSERT_EQ(ReadPgpFile(h.main, dir.Write("f.pgp", text), false), ReadResult::Completed);
        EXPECT_EQ(LoadLists(h.main).first, (Lines{"A|ARC", "L|LINE"}));
        EXPECT_EQ(h.main.AliasLines, (std::vector<int>{1, 4}));
        EXPECT_EQ(h.main.ShellLines, std::vector<int>{3});
        EXPECT_EQ(h.main.OriginalText, "A,*ARC\r\n; c\r\nS,C,1,,\r\nL,*LINE\r\n");
    }
}

// Placeholders number up across the reads of a run; an import leaves the
// text and file of the document alone.
TEST(PgpReader, SecondReadOfARun) {
    Harness h;
    TempDir dir;
    ReadPgpFile(h.main, dir.Write("a.pgp", "; first\r\nONE\r\nTWO,"), false);
    EXPECT_EQ(LoadLists(h.main).first, (Lines{"$|ONE", "TWO,|??"}));
    ReadPgpFile(h.main, dir.Write("b.pgp", "; second\r\nTHREE\r\n"), true);
    EXPECT_EQ(LoadLists(h.main).first, Lines{"$$$|THREE"});
    EXPECT_EQ(h.main.OriginalText + h.main.OriginalFile,
              "; first\r\nONE\r\nTWO,\r\n" + dir.Path("a.pgp"));
}

// A failed read keeps exactly the entries of the lines before the failing one,
// names that line to the user, and marks the document partial; a file that
// cannot be read at all changes nothing but the load lists.
TEST(PgpReader, FailedReadKeepsTheEntriesBeforeTheFailingLine) {
    struct Case {
        std::string text; // "-": no such file
        Lines aliases, shells;
        int line; // the line the read stops at; 0: nothing was read
        std::string lineText;
        std::int16_t placeholders = 0;
    };
    const std::vector<Case> cases = {
        {"CP,*COPY\r\nS,C,1,,\r\nX,C,0\r\nL,*LINE\r\n", {"CP|COPY"}, {"S|C|1||"}, 3, "X,C,0"},
        {"CP,*COPY\r\nX,C,0,*P\r\nS,C,1,,\r\n", {"CP|COPY"}, {}, 2, "X,C,0,*P"},
        {"S,C,1,,\r\n; c\r\nCP,   \r\nL,*LINE\r\n", {}, {"S|C|1||"}, 3, "CP,   "},
        {"ONE\r\nTWO\r\nL,*LINE\r\n", {std::string(32767, '$') + "|ONE"}, {}, 2, "TWO", 32766},
        {"-", {}, {}, 0, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lineText);
        Harness h;
        TempDir dir;
        ReadPgpFile(h.main, dir.Write("a.pgp", "Z,*ZOOM\r\n"), false);
        h.main.PlaceholderCount = c.placeholders;
        const std::string path = c.text == "-" ? dir.Path("f.pgp") : dir.Write("f.pgp", c.text);
        EXPECT_EQ(ReadPgpFile(h.main, path, false),
                  c.line ? ReadResult::Failed : ReadResult::Unread);
        ASSERT_EQ(h.prompter.Texts(),
                  Lines{UnreadablePgpMessage +
                        (c.line ? "\r\n第 " + std::to_string(c.line) + " 行: " + c.lineText : "")});
        EXPECT_EQ(h.prompter.shown[0].icon, Icon::None);
        EXPECT_EQ(LoadLists(h.main), std::pair(c.aliases, c.shells));
        EXPECT_EQ(std::to_string(h.main.PartialLine) + ":" + h.main.PartialText,
                  std::to_string(c.line) + ":" + c.lineText);
        // The document knows the file it read, or still the one before.
        EXPECT_EQ(h.main.OriginalFile + "|" + h.main.Disk.path,
                  (c.line ? path : dir.Path("a.pgp")) + "|" + (c.line ? path : dir.Path("a.pgp")));
    }
}

// The 32768th entry line overflows the editor's count: the read stops there,
// the check says so, and a save writes as many entries as a file holds and
// refuses one more (the next read would lose the last).
TEST(PgpReader, EntryLineLimit) {
    for (const int lines : {32767, 32768}) {
        SCOPED_TRACE(lines);
        std::string text = "; header\r\n";
        for (int i = 0; i < lines; ++i)
            text += (i % 2 ? "A" : "S") + std::to_string(i) + (i % 2 ? ",*B\r\n" : ",C,1,,\r\n");
        Harness h;
        TempDir dir;
        const CheckReport report = CheckPgpFile(h.main, dir.Write("f.pgp", text));
        EXPECT_EQ(report.aliases + report.shells, 32767);
        EXPECT_EQ(h.main.PartialLine, lines == 32767 ? 0 : 32769);
        EXPECT_EQ(report.findings.back().code + std::to_string(report.findings.back().line),
                  lines == 32767 ? "encoding1" : "too-many-lines32769");
        EXPECT_TRUE(SavePgpFile(h.main, dir.Path("out.pgp"), "", true, false));
        AddEntryRow(h.main, AliasList, {"ONE", "MORE", {}, {}});
        EXPECT_FALSE(SavePgpFile(h.main, dir.Path("out.pgp"), "", true, false));
        EXPECT_EQ(h.prompter.Texts().back(),
                  "这个文件最多能保存 32767 个热键和外部命令, 列表中有 32768 个. 删除 1 "
                  "个以后才能保存.");
    }
}

// Files nobody should write but somebody will: the read finishes and keeps
// what it can.
TEST(PgpReader, HostileFiles) {
    std::string comments = "A,*ARC\r\n";
    for (int i = 0; i < 1'700'000; ++i)
        comments += "; a comment line of about thirty bytes\r\n";
    using Case = std::tuple<std::string, std::string, std::size_t, std::size_t>;
    const std::vector<Case> cases = {
        {"50 MB of comments around two aliases", comments + "L,*LINE\r\n", 2, 0},
        {"one line of 10 MB", std::string(10'000'000, 'x') + "\r\n", 1, 0},
        {"NUL bytes", std::string("\0X,*Y\r\nCP,*CO\0PY\r\n", 18), 1, 0},
        {"bytes valid in no code page", "CP,*CO\x80\xFF\xFEPY\r\n", 1, 0},
        {"a shell line with 1000 commas", "S" + std::string(1000, ',') + "\r\n", 0, 1}};
    for (const auto& [name, bytes, aliases, shells] : cases) {
        SCOPED_TRACE(name);
        Harness h;
        TempDir dir;
        EXPECT_EQ(ReadPgpFile(h.main, dir.Write("f.pgp", bytes), false), ReadResult::Completed);
        EXPECT_EQ(std::tuple(h.main.AliasNames.size(), h.main.ShellNames.size()),
                  std::tuple(aliases, shells));
    }
}

} // namespace
