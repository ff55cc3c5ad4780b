// The list rows after a read, their keys, the duplicate pass on open and on
// import, the export and the save dialog's overwrite question.
#include "tests/support/Doubles.h"

#include "core/ListRows.h"
#include "core/Merge.h"
#include "core/PgpReader.h"
#include "core/PgpWriter.h"
#include "host/FileIo.h"
#include "host/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>

using namespace nm;
using namespace nm::test;

namespace {

const std::string DuplicatesText = "这个导入文件包含相同的热键." + std::string(33, ' ') +
                                   "\r\n\r\n副本被替换用" + std::string(29, ' ') + "---.";

void Open(Harness& h, TempDir& dir, const std::string& text) {
    ASSERT_EQ(ReadPgpFile(h.main, dir.Write("open.pgp", text), false), ReadResult::Completed);
    FillListRows(h.main, false);
}

void Import(Harness& h, TempDir& dir, const std::string& text) {
    ASSERT_EQ(ReadPgpFile(h.main, dir.Write("import.pgp", text), true), ReadResult::Completed);
    FillListRows(h.main, true);
}

// Keys by name: "NAME=k".
std::vector<std::string> Keys(const Main& main, int list) {
    std::vector<std::string> keys;
    const EntryTable& table = main.Lists[static_cast<std::size_t>(list)];
    for (std::size_t i = 0; i < table.Count(); ++i)
        keys.push_back(table.At(i).text + "=" + std::to_string(table.At(i).key));
    std::sort(keys.begin(), keys.end());
    return keys;
}

void ExpectDenseKeys(const EntryTable& table) {
    std::vector<int> keys;
    for (std::size_t i = 0; i < table.Count(); ++i)
        keys.push_back(table.At(i).key);
    std::sort(keys.begin(), keys.end());
    std::vector<int> expected(table.Count());
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(keys, expected);
}

TEST(Rows, AreTrimmedAndCasedFromTheLoadLists) {
    Harness h;
    TempDir dir;
    Open(h, dir, "a ,  *copy x \r\n,SKIPPED\r\nb,*B\r\n  sh ,  Cmd  , X1 ,*  Prompt P  ,rest\r\n");
    EXPECT_EQ(RowTexts(h.main, AliasList), (std::vector<std::string>{"A|copy x", "B|B"}));
    EXPECT_EQ(Keys(h.main, AliasList), (std::vector<std::string>{"A=1", "B=2"}));
    EXPECT_EQ(RowTexts(h.main, ShellList), std::vector<std::string>{"SH|Cmd|x1|Prompt P"});
}

TEST(Rows, ImportedKeysContinueAfterTheCurrentRows) {
    Harness h;
    TempDir dir;
    Open(h, dir, "A,*1\r\nB,*2\r\nC,*3\r\n");
    Import(h, dir, "D,*4\r\nE,*5\r\n");
    EXPECT_EQ(Keys(h.main, AliasList),
              (std::vector<std::string>{"A=1", "B=2", "C=3", "D=4", "E=5"}));
    EXPECT_EQ(h.main.FileChanged, 0); // the import command itself marks the document
}

TEST(Duplicates, OnOpenAndImport) {
    struct Case {
        std::string name;
        std::string opened;
        std::string imported; // "" = no import
        std::vector<std::string> rows;
        bool message;
    };
    const std::vector<Case> cases = {
        {"open, same command", "CP,*COPY\r\nCP,*COPY\r\n", "", {"CP|COPY"}, false},
        {"open, other command", "CP,*COPY\r\nCP,*CHKDSK\r\n", "", {"---|COPY", "CP|CHKDSK"}, false},
        {"import, same command", "CP,*COPY\r\n", "CP,*COPY\r\n", {"CP|COPY"}, false},
        {"import, other command",
         "CP,*COPY\r\n",
         "cp,*CHKDSK\r\n",
         {"---|COPY", "CP|CHKDSK"},
         true},
        {"three of one name", "A,*X\r\nA,*Y\r\nA,*X\r\n", "", {"---|X", "---|Y", "A|X"}, false},
        {"marked rows on open",
         "A,*X\r\nA,*Y\r\nA,*Z\r\nB,*Q\r\nB,*R\r\n",
         "",
         {"---|X", "---|Y", "---|Q", "A|Z", "B|R"},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        TempDir dir;
        Open(h, dir, c.opened);
        if (!c.imported.empty())
            Import(h, dir, c.imported);
        EXPECT_EQ(RowTexts(h.main, AliasList), c.rows);
        ExpectDenseKeys(h.main.Lists[AliasList]);
        if (c.message) {
            ASSERT_EQ(h.prompter.shown.size(), 1u);
            EXPECT_EQ(h.prompter.shown[0].text, DuplicatesText);
            EXPECT_EQ(h.prompter.shown[0].title, "发现副本");
            EXPECT_EQ(h.prompter.shown[0].icon, Icon::Information);
        } else {
            EXPECT_TRUE(h.prompter.shown.empty());
        }
    }
}

// Rows already marked meet again only during an import.
TEST(Duplicates, MarkedRowsAreComparedOnlyDuringAnImport) {
    for (const bool importing : {false, true}) {
        Harness h;
        h.main.Lists[AliasList].Add("---", {"X", {}, {}});
        h.main.Lists[AliasList].Add("---", {"X", {}, {}});
        h.main.Lists[AliasList].Add("---", {"Y", {}, {}});
        ResolveDuplicates(h.main, AliasList, importing);
        EXPECT_EQ(RowTexts(h.main, AliasList).size(), importing ? 2u : 3u);
        EXPECT_EQ(h.prompter.shown.size(), importing ? 1u : 0u);
    }
}

// The pass walks name order even while the list is shown by another column.
TEST(Duplicates, WalkNameOrderWhateverTheSortColumn) {
    Harness h;
    EntryTable& table = h.main.Lists[ShellList];
    table.SortBy(1, true);
    table.Add("B", {"2", "0", ""});
    table.Add("A", {"9", "0", ""});
    table.Add("B", {"1", "0", ""});
    ResolveDuplicates(h.main, ShellList, false);
    EXPECT_EQ(RowTexts(h.main, ShellList), // name order, descending
              (std::vector<std::string>{"B|1|0|", "A|9|0|", "---|2|0|"}));
    EXPECT_EQ(table.SortColumn(), 1);
    EXPECT_EQ(table.At(0).sub[0], "9"); // shown by command again, descending
}

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
        const std::string bytes = DecodeFileText(dir.Read("out.pgp")).text;
        EXPECT_NE(bytes.find("; 使用热键编辑器 (NICKMAKER 命令) 编辑这个文件." +
                             std::string(29, ' ') + "\r\n"),
                  std::string::npos);
        EXPECT_NE(bytes.find("CP,        *COPY\r\n"), std::string::npos);
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

TEST(AskSaveFileName, AsksBeforeOverwriting) {
    struct Case {
        std::string name;
        bool confirm;
        std::vector<Answer> answers;
        std::vector<std::optional<std::string>> picks; // "old" exists, "new" does not
        std::string result;
        std::size_t questions;
        std::size_t dialogs;
    };
    const std::vector<Case> cases = {
        {"new file", true, {}, {"new"}, "new", 0, 1},
        {"yes overwrites", true, {Answer::Yes}, {"old"}, "old", 1, 1},
        {"cancel gives up", true, {Answer::Cancel}, {"old"}, "", 1, 1},
        {"no asks again", true, {Answer::No}, {"old", "new"}, "new", 1, 2},
        {"no, then cancel", true, {Answer::No}, {"old", std::nullopt}, "", 1, 2},
        {"option off never overwrites", false, {}, {"old", "old", "new"}, "new", 0, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        TempDir dir;
        dir.Write("old", "x");
        h.view.confirm = c.confirm;
        h.main.CurrentFileTitle = "doc.pgp";
        h.prompter.answers.assign(c.answers.begin(), c.answers.end());
        for (const auto& pick : c.picks)
            h.dialogs.picks.push_back(pick ? std::optional(dir.Path(*pick)) : std::nullopt);
        const std::string result = AskSaveFileName(h.main, "F |*.pgp", "offer.pgp");
        EXPECT_EQ(result, c.result.empty() ? "" : dir.Path(c.result));
        EXPECT_EQ(h.prompter.shown.size(), c.questions);
        EXPECT_EQ(h.dialogs.calls.size(), c.dialogs);
        for (const auto& call : h.dialogs.calls)
            EXPECT_EQ(call.fileName, "offer.pgp");
        if (!h.prompter.shown.empty()) {
            const MessageBox& box = h.prompter.shown[0];
            EXPECT_EQ(box.text, dir.Path("old") + "\r\n\r\n这个配置文件已经存在. 你想覆盖它吗?" +
                                    std::string(49, ' '));
            EXPECT_EQ(box.title, "覆盖" + std::string(8, ' ') + "doc.pgp?");
            EXPECT_EQ(box.buttons, Buttons::YesNoCancel);
            EXPECT_EQ(box.icon, Icon::Exclamation);
            EXPECT_EQ(box.defaultButton, 2);
        }
    }
}

} // namespace

namespace {

// The duplicate pass done the plain way, one pair at a time: each removal
// takes the row out of the list and renumbers keys by scanning for the highest.
struct PlainRow {
    std::string name, command;
    int key;
    std::uint64_t added;
};

void PlainPass(std::vector<PlainRow>& rows, bool importing, bool descending) {
    const auto byName = [descending](const PlainRow& a, const PlainRow& b) {
        const int c = descending ? -CompareNoCase(a.name, b.name) : CompareNoCase(a.name, b.name);
        return c != 0 ? c < 0 : a.added < b.added;
    };
    std::stable_sort(rows.begin(), rows.end(), byName);
    for (std::size_t i = 1; rows.size() > 1 && i <= rows.size() - 1; ++i) {
        PlainRow& a = rows[i - 1];
        const PlainRow& b = rows[i];
        if (a.name != b.name || (!importing && a.name == "---"))
            continue;
        if (a.command == b.command) {
            const int freed = a.key;
            rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i - 1));
            for (PlainRow& row : rows)
                if (row.key == static_cast<int>(rows.size()) + 1)
                    row.key = freed;
            --i;
        } else {
            a.name = "---";
        }
    }
    std::stable_sort(rows.begin(), rows.end(), byName);
}

TEST(Duplicates, FastPassMatchesThePlainOne) {
    std::uint32_t seed = 12345;
    const auto next = [&seed](std::uint32_t range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    for (int round = 0; round < 40; ++round) {
        const bool importing = round % 2 == 1;
        const std::size_t count = 1 + next(400);
        Harness h;
        std::vector<PlainRow> plain;
        for (std::size_t i = 0; i < count; ++i) {
            // Few names and commands, so that many rows meet; some already marked.
            std::string name =
                next(10) == 0 ? "---" : std::string(1, static_cast<char>('A' + next(12)));
            if (next(3) == 0)
                name += static_cast<char>('a' + next(3));
            name = UpperCase(name);
            const std::string command = "C" + std::to_string(next(4));
            h.main.Lists[AliasList].Append(name, {command, {}, {}});
            plain.push_back({name, command, static_cast<int>(i) + 1, i});
        }
        h.main.Lists[AliasList].Resort();
        if (round % 4 == 3)
            h.main.Lists[AliasList].SortBy(1, true); // shown by command, descending
        ResolveDuplicates(h.main, AliasList, importing);
        PlainPass(plain, importing, h.main.Lists[AliasList].Descending());
        std::vector<std::string> fast;
        std::vector<std::string> expected;
        const EntryTable& table = h.main.Lists[AliasList];
        std::vector<std::size_t> order = table.NameOrder();
        for (const std::size_t position : order) {
            const Row& row = table.At(position);
            fast.push_back(row.text + "|" + row.sub[0] + "|" + std::to_string(row.key));
        }
        for (const PlainRow& row : plain)
            expected.push_back(row.name + "|" + row.command + "|" + std::to_string(row.key));
        ASSERT_EQ(fast, expected) << "round " << round;
    }
}

} // namespace
