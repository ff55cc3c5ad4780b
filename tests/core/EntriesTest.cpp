// The entry commands and the rules of the entry dialogs, without a window: the
// dialogs are answered by a script that types fields and presses OK or
// Cancel, their questions through the Prompter double.
#include "tests/core/Boxes.h"

#include "core/Document.h"
#include "core/Entries.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace nm;
using namespace nm::test;

namespace {

const std::string Required = "一个或多个必需的字段被置空." + std::string(30, ' ');

// A document loaded at start-up, edited through scripted dialogs.
struct Doc : LoadedDocument {
    using LoadedDocument::LoadedDocument;
    EntryScript script;

    EntryAnswer Add(int page, std::deque<std::optional<EntryFields>> steps) {
        script.steps = std::move(steps);
        return AddCommand(h.main, page, script.Dialog());
    }
    // Edits the row at a 1-based position of the page's name order.
    void Edit(int page, std::size_t position, std::deque<std::optional<EntryFields>> steps) {
        const EntryTable& table = h.main.Lists[static_cast<std::size_t>(page)];
        script.steps = std::move(steps);
        StartEdit(h.main, page, table.At(table.NameOrder().at(position - 1)).key, script.Dialog());
    }
    // Both lists and the changed flag, as one text.
    std::string State() const {
        std::string out;
        for (const int list : {AliasList, ShellList})
            for (const std::string& row : RowTexts(h.main, list))
                out += row + " ";
        return out + std::to_string(h.main.FileChanged);
    }
};

EntryFields Alias(std::string name, std::string command) {
    return {std::move(name), std::move(command), {}, {}};
}
const std::optional<EntryFields> Cancel;

// Every entry a file cannot hold, or that lacks a required field, is refused
// with its message; the dialog stays open and nothing changes.
TEST(Entries, RefusedEntriesChangeNothing) {
    const std::string cannot = " 这个热键不能保存.";
    // The page, the fields typed, and the message.
    const std::vector<std::tuple<int, EntryFields, std::string>> cases = {
        {AliasList, Alias("X", ""), Required + " 这个热键不能增加."},
        {ShellList, {"S", "DIR", "0", "a,b"}, "热键的字段不能包含逗号 (,)." + cannot},
        {AliasList, Alias("X", "A\nB"), "热键的字段不能包含换行." + cannot},
        {AliasList, Alias(" --- ", "LINE"),
         "名字 \"---\" 标记被替换的热键, 不能用作热键的名字." + cannot},
        {AliasList, Alias("Z", "直线"),
         "Vectrom 命令不能以 '直' 开头: 读这个文件时它会被去掉." + cannot},
        {AliasList, Alias("中", "LINE"),
         "这个文件的编码 (ISO-8859-1) 不能保存 '中' 里的字符." + cannot}};
    for (const auto& [page, typed, message] : cases) {
        SCOPED_TRACE(message);
        Doc d("CP,*COPY\r\nS,DIR,8,,\r\n");
        d.h.main.FileEncoding.charset = "ISO-8859-1"; // the encoding is checked last
        d.Add(page, {typed, Cancel});
        EXPECT_EQ(Boxes(d.h.prompter),
                  Rows{Box({message, Buttons::OK, Icon::Exclamation, "热键无效"})});
        EXPECT_EQ(d.State(), "CP|COPY S|DIR|8| 0");
    }
}

TEST(Entries, AliasDuplicatesAndRedefinitions) {
    Doc d("CP,*COPY\r\nL,*LINE\r\nZZ,*ZOOM\r\n");
    // An exact duplicate, in any case and with blanks around, adds nothing and asks nothing.
    EXPECT_EQ(d.Add(AliasList, {Alias(" cp ", "copy ")}).outcome, EntryOutcome::Duplicate);
    EXPECT_TRUE(d.h.prompter.Texts().empty());
    // The new command is offered first (trimmed), then the question; Cancel
    // there leaves the list as it was.
    d.h.prompter.answers = {Answer::Cancel};
    d.Add(AliasList, {Alias("cp", " chkdsk ")});
    EXPECT_EQ(d.script.offered, (Rows{"copy", "chkdsk"}));
    EXPECT_EQ(Boxes(d.h.prompter),
              Rows{Box({"这个热键      cp 已经应用于 'COPY' 命令. 你想重新定义它吗?",
                        Buttons::YesNoCancel, Icon::Information, "发现副本", 2})});
    EXPECT_EQ(d.State(), "CP|COPY L|LINE ZZ|ZOOM 0");

    // No keeps the dialog open with the name selected; Yes replaces and reports.
    d.h.prompter.shown.clear();
    d.h.prompter.answers = {Answer::No, Answer::Yes};
    d.Add(AliasList, {Alias("cp", "CHKDSK"), Alias("cp", "CHKDSK")});
    const EntryAnswer& no = d.script.answers.end()[-2];
    EXPECT_TRUE(no.outcome == EntryOutcome::Stay && no.selectName);
    EXPECT_EQ(Box(d.h.prompter.shown[2]), Box({"这个热键      cp 现在引用 'CHKDSK'.", Buttons::OK,
                                               Icon::None, std::nullopt, 1}));
    EXPECT_EQ(d.State(), "CP|CHKDSK L|LINE ZZ|ZOOM 1");

    // With the confirm option off a redefinition asks and reports nothing.
    d.h.view.confirm = false;
    d.h.prompter.shown.clear();
    d.Add(AliasList, {Alias("l", "COPY")});
    EXPECT_TRUE(d.h.prompter.Texts().empty());
    EXPECT_EQ(RowTexts(d.h.main, AliasList), (Rows{"CP|CHKDSK", "L|COPY", "ZZ|ZOOM"}));
}

TEST(Entries, Edits) {
    Doc d("CP,*COPY\r\nL,*LINE\r\nZ,*ZOOM\r\n");
    // OK without a change (blanks and the name's letter case aside), and
    // Cancel, keep the row: the document stays unchanged.
    d.Edit(AliasList, 1, {Alias(" cp", "COPY")});
    d.Edit(AliasList, 1, {Alias("", "X"), Cancel});
    EXPECT_EQ(d.script.shown[0], Alias("CP", "COPY"));
    EXPECT_EQ(d.h.prompter.Texts(), Rows{Required + " 这个改变不能生成."});
    EXPECT_EQ(d.State(), "CP|COPY L|LINE Z|ZOOM 0");

    // A change of the command's letter case only is stored, never lost.
    d.Edit(AliasList, 2, {Alias("l", "line")});
    EXPECT_EQ(RowTexts(d.h.main, AliasList), (Rows{"CP|COPY", "L|line", "Z|ZOOM"}));
    // An edit to an entry the list already holds keeps the edited row.
    d.Edit(AliasList, 3, {Alias("CP", "copy")});
    EXPECT_EQ(RowTexts(d.h.main, AliasList), (Rows{"CP|COPY", "L|line", "Z|ZOOM"}));

    // Renaming onto another alias, confirmed, leaves one row: the edited entry.
    d.h.prompter.answers = {Answer::Yes, Answer::Yes};
    d.Edit(AliasList, 3, {Alias("CP", "ZOOM")});
    EXPECT_EQ(RowTexts(d.h.main, AliasList), (Rows{"CP|ZOOM", "L|line"}));
    // ... and Cancel in the question leaves both rows as they were.
    d.h.prompter.answers = {Answer::Cancel};
    d.Edit(AliasList, 2, {Alias("CP", "LINE")});
    EXPECT_EQ(RowTexts(d.h.main, AliasList), (Rows{"CP|ZOOM", "L|line"}));
}

TEST(Entries, ShellAddsEditsAndRedefines) {
    Doc d("S,DIR,8,*Files:,\r\nH,ODD,x9,,\r\n");
    // An empty command is accepted after its message; the prompt is trimmed.
    d.Add(ShellList, {EntryFields{"SH", " ", "1", " OS Command: "}});
    EXPECT_EQ(d.script.shown[0], (EntryFields{"", "", "0", ""}));
    EXPECT_EQ(d.h.prompter.shown[0].title.value_or("") + d.h.prompter.Texts()[0],
              "无 Shell 命令你认可 Shell 命令字段为空.\r\n\r\n这个热键 '     SH' 在 "
              "Vectrom 建立命令窗口.");
    // An exact duplicate (command and prompt in any case) adds nothing.
    d.h.prompter.shown.clear();
    EXPECT_EQ(d.Add(ShellList, {EntryFields{"s", "dir", "8", "FILES:"}}).fields,
              (EntryFields{"", "", "8", ""}));
    EXPECT_TRUE(d.h.prompter.Texts().empty());
    EXPECT_EQ(RowTexts(d.h.main, ShellList),
              (Rows{"H|ODD|x9|", "S|DIR|8|Files:", "SH||1|OS Command:"}));

    // Another flag number: the question, the report with only the flags line
    // filled, the old row marked and the new one added.
    d.h.prompter.answers = {Answer::Yes};
    d.Add(ShellList, {EntryFields{"S", "DIR", "9", "Files:"}});
    EXPECT_EQ(d.h.prompter.Texts(),
              (Rows{"这个热键      S正在被使用. 你想重新定义它吗?",
                    "下列热键特性DIR 已被改变:\r\n\r\n新的 Shell 命令:" + std::string(7, ' ') +
                        "\r\n新的标记:" + std::string(5, ' ') +
                        "'9'\r\n新的 Shell 提示:" + std::string(6, ' ')}));
    EXPECT_EQ(RowTexts(d.h.main, ShellList),
              (Rows{"---|DIR|8|Files:", "H|ODD|x9|", "S|DIR|9|Files:", "SH||1|OS Command:"}));
}

TEST(Entries, RemoveAsksUnlessMarkedOrTheOptionIsOff) {
    Doc d("CP,*COPY\r\nE,*ERASE\r\nL,*LINE\r\n");
    const auto key = [&](std::size_t position) {
        return d.h.main.Lists[AliasList].At(position).key;
    };
    // The question names the command, when the row has one.
    for (const std::string command : {"COPY", ""}) {
        d.h.main.Lists[AliasList].SetSub(0, 1, command);
        d.h.prompter.answers = {Answer::No};
        StartRemove(d.h.main, AliasList, key(0));
        EXPECT_EQ(
            Box(d.h.prompter.shown.back()),
            Box({"真要删除这个热键吗?" + std::string(32, ' ') +
                     (command.empty() ? "" : " 对   " + command) + "?",
                 Buttons::YesNo, Icon::Question, "删除热键" + std::string(9, ' ') + "CP?", 1}));
    }
    StartRemove(d.h.main, AliasList, key(0)); // Yes
    EXPECT_EQ(d.State(), "E|ERASE L|LINE 1");
    // A marked row goes without a question; so does any row with the option off.
    d.h.main.Lists[AliasList].SetText(0, MarkedName);
    const std::size_t boxes = d.h.prompter.shown.size();
    StartRemove(d.h.main, AliasList, key(0));
    d.h.view.confirm = false;
    StartRemove(d.h.main, AliasList, key(0));
    EXPECT_EQ(d.h.prompter.shown.size(), boxes);
    EXPECT_TRUE(RowTexts(d.h.main, AliasList).empty());
}

} // namespace
