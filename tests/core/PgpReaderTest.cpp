// Reading program-parameters files: line kinds, comma classes, placeholders,
// line ends and numbers, the entry line limit and the state a failed read
// leaves behind; and the list rows made from what was read. (Hostile bytes are
// the reader's fuzz target's.)
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

// The aliases "NAME|COMMAND" and shell commands "S:NAME|COMMAND|FLAGS|PROMPT|REST"
// of the load lists, joined by blanks.
std::string LoadLists(const Main& main) {
    std::string out;
    for (std::size_t i = 0; i < main.AliasNames.size(); ++i)
        out += " " + main.AliasNames[i] + "|" + main.AliasCommands[i];
    for (std::size_t i = 0; i < main.ShellNames.size(); ++i)
        out += " S:" + main.ShellNames[i] + "|" + main.ShellCommands[i] + "|" + main.ShellFlags[i] +
               "|" + main.ShellPrompts[i] + "|" + main.ShellRest[i];
    return out.empty() ? out : out.substr(1);
}

TEST(PgpReader, ClassifiesEachLineKind) {
    // A line, and the aliases and shell commands it gives.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"CP,*COPY", "CP|COPY"},
        {"CP,COPY", "CP|COPY"},
        {"CP, **COPY", "CP|COPY"},
        {"PX,+X", "PX|+X"},
        {"ST,*", "ST|*"},
        {"BR,{|}~B", "BR|B"},
        {"REDRAW", "$|REDRAW"},
        {"WEIRD,", "WEIRD,|?"},
        {",NONAME", "---|NONAME"},
        {"  ;A", "$|;A"},
        {"; comment", ""},
        {"\tTAB,*X", ""},
        {"中文,*LINE", ""},
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
        EXPECT_EQ(LoadLists(h.main), expected);
        EXPECT_TRUE(h.prompter.shown.empty());
    }
}

// CR LF, a bare CR and a bare LF each end a line, for the entries, their line
// numbers and the text a backup keeps.
TEST(PgpReader, EveryLineEndEndsALine) {
    // The text and its line ends as the status line names them.
    for (const auto& [text, ends] : std::vector<std::pair<std::string, std::string>>{
             {"A,*ARC\r\n; c\r\nS,C,1,,\r\nL,*LINE\r\n", "CR LF"},
             {"A,*ARC\r; c\rS,C,1,,\rL,*LINE", "CR"},
             {"A,*ARC\r\n; c\rS,C,1,,\nL,*LINE\n", "mixed"}}) {
        Harness h;
        TempDir dir;
        ASSERT_EQ(ReadPgpFile(h.main, dir.Write("f.pgp", text), false), ReadResult::Completed);
        EXPECT_EQ(LoadLists(h.main), "A|ARC L|LINE S:S|C|1||");
        EXPECT_EQ(h.main.AliasLines, (std::vector<int>{1, 4}));
        EXPECT_EQ(h.main.ShellLines, std::vector<int>{3});
        EXPECT_EQ(OriginalFileText(h.main), "A,*ARC\r\n; c\r\nS,C,1,,\r\nL,*LINE\r\n");
        EXPECT_EQ(h.main.FileLineEnds, ends);
    }
}

// Placeholders number up across the reads of a run; an import leaves the
// text and file of the document alone.
TEST(PgpReader, SecondReadOfARun) {
    Harness h;
    TempDir dir;
    ReadPgpFile(h.main, dir.Write("a.pgp", "; first\r\nONE\r\nTWO,"), false);
    EXPECT_EQ(LoadLists(h.main), "$|ONE TWO,|??");
    ReadPgpFile(h.main, dir.Write("b.pgp", "; second\r\nTHREE\r\n"), true);
    EXPECT_EQ(LoadLists(h.main), "$$$|THREE");
    EXPECT_EQ(OriginalFileText(h.main) + h.main.OriginalFile,
              "; first\r\nONE\r\nTWO,\r\n" + dir.Path("a.pgp"));
}

// A failed read keeps exactly the entries of the lines before the failing one,
// names that line to the user, and marks the document partial; a file that
// cannot be read at all changes nothing but the load lists.
TEST(PgpReader, FailedReadKeepsTheEntriesBeforeTheFailingLine) {
    // The file ("-": no such file), the load lists after, the line the read
    // stops at (0: nothing was read) and its text, and the placeholders read
    // before.
    using Case = std::tuple<std::string, std::string, int, std::string, std::int16_t>;
    const std::vector<Case> cases = {
        {"CP,*COPY\r\nS,C,1,,\r\nX,C,0\r\nL,*LINE\r\n", "CP|COPY S:S|C|1||", 3, "X,C,0", 0},
        {"S,C,1,,\r\n; c\r\nCP,   \r\nL,*LINE\r\n", "S:S|C|1||", 3, "CP,   ", 0},
        {"ONE\r\nTWO\r\nL,*LINE\r\n", std::string(32767, '$') + "|ONE", 2, "TWO", 32766},
        {"-", "", 0, "", 0}};
    for (const auto& [text, lists, line, lineText, placeholders] : cases) {
        SCOPED_TRACE(lineText);
        Harness h;
        TempDir dir;
        ReadPgpFile(h.main, dir.Write("a.pgp", "Z,*ZOOM\r\n"), false);
        h.main.PlaceholderCount = placeholders;
        const std::string path = text == "-" ? dir.Path("f.pgp") : dir.Write("f.pgp", text);
        EXPECT_EQ(ReadPgpFile(h.main, path, false), line ? ReadResult::Failed : ReadResult::Unread);
        ASSERT_EQ(h.prompter.Texts(),
                  Lines{UnreadablePgpMessage +
                        (line ? "\r\n第 " + std::to_string(line) + " 行: " + lineText : "")});
        EXPECT_EQ(h.prompter.shown[0].icon, Icon::None);
        EXPECT_EQ(LoadLists(h.main), lists);
        EXPECT_EQ(std::to_string(h.main.PartialLine) + ":" + h.main.PartialText,
                  std::to_string(line) + ":" + lineText);
        // The document knows the file it read, or still the one before.
        const std::string known = line ? path : dir.Path("a.pgp");
        EXPECT_EQ(h.main.OriginalFile + "|" + h.main.Disk.path, known + "|" + known);
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

// The rows of a list in the table's order: "NAME|SUB1|...=key@line", joined by blanks.
std::string Rows(const Main& main, int list) {
    const EntryTable& table = main.Lists[static_cast<std::size_t>(list)];
    std::string out;
    for (std::size_t i = 0; i < table.Count(); ++i) {
        const Row& row = table.At(i);
        out += (i ? " " : "") + row.text;
        for (int column = 1; column < table.ColumnCount(); ++column)
            out += "|" + row.sub[static_cast<std::size_t>(column - 1)];
        out += "=" + std::to_string(row.key) + "@" + std::to_string(row.line);
    }
    return out;
}

void Read(Harness& h, TempDir& dir, const std::string& text, bool importing) {
    ASSERT_NE(ReadPgpFile(h.main, dir.Write("f.pgp", text), importing), ReadResult::Unread);
    FillListRows(h.main, importing);
}

TEST(ListRows, RowsFromTheLoadLists) {
    Harness h;
    TempDir dir;
    Read(h, dir,
         "; c\r\nb ,  *copy x \r\n,SKIPPED\r\n---,X\r\n  sh ,  Cmd  , X1 ,*  P  ,rest\r\na,*A\r\n",
         false);
    EXPECT_EQ(Rows(h.main, AliasList), "A|A=2@6 B|copy x=1@2");
    EXPECT_EQ(Rows(h.main, ShellList), "SH|Cmd|x1|P=1@5");
    // An import adds its rows with the next keys and its own lines, then
    // settles the names both files hold; it leaves marking the document to
    // the command.
    Read(h, dir, "\r\nC,*C\r\nA,*ARC\r\n", true);
    EXPECT_EQ(Rows(h.main, AliasList), "---|A=2@6 A|ARC=4@3 B|copy x=1@2 C|C=3@2");
    EXPECT_EQ(h.main.FileChanged, 0);
}

} // namespace
