// The entry dialogs filled and confirmed as a user would, with their
// questions answered through the Prompter double, and what they leave in the
// lists and in the saved file.
#include "UiHarness.h"

#include "PgpWriter.h"
#include "frmNewAlias.h"

#include <QCheckBox>
#include <QListWidget>
#include <QTabWidget>

using namespace nm;
using namespace nm::test;

namespace {

const std::string Required = "一个或多个必需的字段被置空." + std::string(30, ' ');

void Add(Editor& e, int page, std::deque<DialogScript::Step> steps) {
    e.script.steps = std::move(steps);
    e.script.Run([&] { e.window->cmdAdd_Click(page); });
}

void Edit(Editor& e, int page, int position, std::deque<DialogScript::Step> steps) {
    e.window->SelectListItem(position, page);
    e.script.steps = std::move(steps);
    e.script.Run([&] {
        int index = page;
        e.window->StartEdit(index);
    });
}

TEST(AliasDialog, AddsRedefinesAndRefuses) {
    Editor e;
    e.Load();
    // A required field left empty: the dialog stays open.
    Add(e, AliasList, {Type("X", ""), Press("cmdCancel")});
    EXPECT_EQ(e.prompter.shown.at(0).text, Required + " 这个热键不能增加.");
    EXPECT_EQ(e.prompter.shown.at(0).title, "热键无效");
    EXPECT_EQ(e.prompter.shown.at(0).icon, Icon::Exclamation);
    // A comma would break the line in the file: refused, the dialog stays open.
    Add(e, AliasList, {Type("X", "A,B"), Press("cmdCancel")});
    EXPECT_EQ(e.prompter.shown.at(1).text, "热键的字段不能包含逗号 (,). 这个热键不能保存.");
    EXPECT_EQ(RowTexts(e.M(), AliasList), (std::vector<std::string>{"CP|COPY", "L|LINE"}));

    // An exact duplicate, in any case, adds nothing and asks nothing.
    e.prompter.shown.clear();
    Add(e, AliasList, {Type("cp", "copy")});
    EXPECT_TRUE(e.prompter.shown.empty());
    EXPECT_EQ(e.AliasDialogName(), "");
    EXPECT_EQ(RowTexts(e.M(), AliasList), (std::vector<std::string>{"CP|COPY", "L|LINE"}));

    // A new command is offered to the catalogue first, then the duplicate question;
    // Cancel there keeps the catalogue's new name and the list as it was.
    e.prompter.answers = {Answer::Yes, Answer::Cancel};
    Add(e, AliasList, {Type("cp", "chkdsk")});
    ASSERT_EQ(e.prompter.shown.size(), 2u);
    EXPECT_EQ(e.prompter.shown[0].text, "'CHKDSK' 是一个新的命令. 你想增加到你的命令列表吗?");
    EXPECT_EQ(e.prompter.shown[1].text,
              "这个热键      cp 已经应用于 'COPY' 命令. 你想重新定义它吗?");
    EXPECT_EQ(e.prompter.shown[1].title, "发现副本");
    EXPECT_EQ(e.prompter.shown[1].defaultButton, 2);
    EXPECT_EQ(e.dir.Read("alias.pgc"), "\"LINE\"\r\n\"COPY\"\r\n\"CHKDSK\"\r\n");
    EXPECT_EQ(RowTexts(e.M(), AliasList), (std::vector<std::string>{"CP|COPY", "L|LINE"}));

    // No keeps the dialog open with the name selected; Yes replaces and reports.
    e.prompter.shown.clear();
    e.prompter.answers = {Answer::No, Answer::Yes};
    Add(e, AliasList, {Type("cp", "CHKDSK"), [](QDialog& d) {
                           EXPECT_TRUE(d.isVisible());
                           EXPECT_EQ(d.findChild<QLineEdit*>("txtAlias")->selectedText(), "cp");
                           d.findChild<QPushButton*>("cmdOK")->click();
                       }});
    ASSERT_EQ(e.prompter.shown.size(), 3u);
    EXPECT_EQ(e.prompter.shown[2].text, "这个热键      cp 现在引用 'CHKDSK'.");
    EXPECT_EQ(e.prompter.shown[2].icon, Icon::None);
    EXPECT_EQ(RowTexts(e.M(), AliasList), (std::vector<std::string>{"CP|CHKDSK", "L|LINE"}));

    // With the confirm option off a redefinition asks and reports nothing.
    e.Get<QCheckBox>("chkConfirm")->setChecked(false);
    e.prompter.shown.clear();
    Add(e, AliasList, {Type("l", "COPY")});
    EXPECT_TRUE(e.prompter.shown.empty());
    EXPECT_EQ(RowTexts(e.M(), AliasList), (std::vector<std::string>{"CP|CHKDSK", "L|COPY"}));
    // The catalogue list of the dialog is alphabetical and holds the new command.
    const QListWidget* list = e.window->AliasDialog().findChild<QListWidget*>("cmbRepList");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), "CHKDSK");
}

TEST(AliasDialog, Edits) {
    Editor e("CP,*COPY\r\nL,*LINE\r\nZ,*ZOOM\r\n");
    e.Load();
    // OK without a change, and Cancel, keep the row and its key.
    Edit(e, AliasList, 1, {[](QDialog& d) {
             EXPECT_EQ(d.windowTitle(), "编辑命令热键");
             EXPECT_EQ(d.findChild<QLineEdit*>("txtAlias")->selectedText(), "CP");
             d.findChild<QPushButton*>("cmdOK")->click();
         }});
    Edit(e, AliasList, 1, {Type("", "X"), Press("cmdCancel")});
    EXPECT_EQ(e.prompter.Texts(), std::vector<std::string>{Required + " 这个改变不能生成."});
    EXPECT_EQ(e.Rows(AliasList), (std::vector<std::string>{"CP=1", "L=2", "Z=3"}));
    EXPECT_FALSE(e.M().DialogCancelled);
    EXPECT_EQ(e.M().EditMode, 0);

    // A change of letter case only is stored, never lost.
    Edit(e, AliasList, 2, {Type("l", "line")});
    EXPECT_EQ(RowTexts(e.M(), AliasList),
              (std::vector<std::string>{"CP|COPY", "L|line", "Z|ZOOM"}));

    // Renaming onto another alias, confirmed, leaves one row: the edited entry.
    e.prompter.answers = {Answer::Yes, Answer::Yes};
    Edit(e, AliasList, 3, {Type("CP", "ZOOM")});
    EXPECT_EQ(RowTexts(e.M(), AliasList), (std::vector<std::string>{"CP|ZOOM", "L|line"}));
    // ... and Cancel in the question leaves both rows as they were.
    e.prompter.answers = {Answer::Cancel};
    Edit(e, AliasList, 2, {Type("CP", "LINE")});
    EXPECT_EQ(RowTexts(e.M(), AliasList), (std::vector<std::string>{"CP|ZOOM", "L|line"}));
}

TEST(ShellDialog, AddsEditsAndRedefines) {
    Editor e("S,DIR,8,*Files:,\r\nH,ODD,x9,,\r\n");
    e.Load();
    e.Get<QTabWidget>("tbsMain")->setCurrentIndex(ShellList);
    // An empty command is accepted after its message.
    Add(e, ShellList, {Type("SH", "", "1", "OS Command:")});
    EXPECT_EQ(e.prompter.shown.at(0).text,
              "你认可 Shell 命令字段为空.\r\n\r\n这个热键 '     SH' 在 Vectrom 建立命令窗口.");
    EXPECT_EQ(e.prompter.shown.at(0).title, "无 Shell 命令");
    // An exact duplicate (command and prompt in any case) adds nothing.
    e.prompter.shown.clear();
    Add(e, ShellList, {Type("s", "dir", "8", "FILES:")});
    EXPECT_TRUE(e.prompter.shown.empty());
    EXPECT_EQ(RowTexts(e.M(), ShellList),
              (std::vector<std::string>{"H|ODD|x9|", "S|DIR|8|Files:", "SH||1|OS Command:"}));

    // Another flag number: the question, the report with only the flags line
    // filled, the old row marked and the new one added.
    e.prompter.answers = {Answer::Yes};
    Add(e, ShellList, {Type("S", "DIR", "9", "Files:")});
    ASSERT_EQ(e.prompter.shown.size(), 2u);
    EXPECT_EQ(e.prompter.shown[0].text, "这个热键      S正在被使用. 你想重新定义它吗?");
    EXPECT_EQ(e.prompter.shown[1].text,
              "下列热键特性DIR 已被改变:\r\n\r\n新的 Shell 命令:" + std::string(7, ' ') +
                  "\r\n新的标记:" + std::string(5, ' ') +
                  "'9'\r\n新的 Shell 提示:" + std::string(6, ' '));
    EXPECT_EQ(RowTexts(e.M(), ShellList),
              (std::vector<std::string>{"---|DIR|8|Files:", "H|ODD|x9|",
                                        "S|DIR|9|Files:", "SH||1|OS Command:"}));

    // Flags that are not one of the choices are shown as an extra one and kept.
    Edit(e, ShellList, 2, {[](QDialog& d) {
             const auto* flags = d.findChild<QComboBox*>("comboFlag");
             EXPECT_EQ(flags->count(), 17);
             EXPECT_EQ(flags->currentText(), "x9");
             SetText(d, "txtPrompt", "Why:");
             d.findChild<QPushButton*>("cmdOK")->click();
         }});
    EXPECT_EQ(RowTexts(e.M(), ShellList)[1], "H|ODD|x9|Why:");
    // Cancel while adding keeps the flags choice; the next Add resets it.
    Add(e, ShellList, {[](QDialog& d) {
            d.findChild<QComboBox*>("comboFlag")->setCurrentText("5");
            d.findChild<QPushButton*>("cmdCancel")->click();
        }});
    Add(e, ShellList, {[](QDialog& d) {
            EXPECT_EQ(d.findChild<QComboBox*>("comboFlag")->currentText(), "0");
            EXPECT_EQ(d.findChild<QComboBox*>("comboFlag")->count(), 16);
            d.findChild<QPushButton*>("cmdCancel")->click();
        }});
    EXPECT_EQ(RowTexts(e.M(), ShellList).size(), 4u);
}

// Adding, editing, redefining and removing through the dialogs, then saving,
// writes exactly the expected file.
TEST(EntryDialogs, EditedDocumentIsSavedByteForByte) {
    Editor e("; office\r\nCP,*COPY\r\nL,*LINE\r\nZ,*ZOOM\r\nS,DIR,8,*Files:,\r\n");
    e.Load();
    e.prompter.answers = {Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes};
    Add(e, AliasList, {Type("tr", "TRIM")});     // new command offered, added
    Edit(e, AliasList, 2, {Type("LL", "LINE")}); // L renamed
    Add(e, AliasList, {Type("cp", "COPYCLIP")}); // CP redefined (and offered)
    e.window->SelectListItem(4, AliasList);      // Z
    e.Press(AliasList, Qt::Key_Delete);          // removed after its question
    e.Get<QTabWidget>("tbsMain")->setCurrentIndex(ShellList);
    Add(e, ShellList, {Type("np", "NOTEPAD", "1", "File to edit:")});
    Add(e, ShellList, {Type("S", "DIR /W", "8", "Files:")}); // redefined: old row "---"
    bool cancel = false;
    e.prompter.answers = {Answer::Yes};
    e.window->StartApply(cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(e.dir.Read("support/vtrm.pgp"), ReadData("edited.saved.pgp"));
    EXPECT_EQ(e.dir.Read("support/备份        vtrm.pgp"),
              "; office\r\nCP,*COPY\r\nL,*LINE\r\nZ,*ZOOM\r\nS,DIR,8,*Files:,\r\n\r\n");
}

} // namespace
