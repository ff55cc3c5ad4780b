// The rows made from the load lists after a read: trimmed and cased as the
// lists show them, keyed on from the rows there are, each with its line.
#include "tests/support/Doubles.h"

#include "core/ListRows.h"
#include "core/PgpReader.h"

#include <gtest/gtest.h>

using namespace nm;
using namespace nm::test;

namespace {

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
    // A row entered in a dialog comes from no line.
    AddEntryRow(h.main, ShellList, {" n ", " N ", "0", " p "});
    EXPECT_EQ(Rows(h.main, ShellList), "N|N|0|p=2@0 SH|Cmd|x1|P=1@5");
}

} // namespace
