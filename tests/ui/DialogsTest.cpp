// The entry dialogs opened from the window and filled as a user would: they
// show what the entry commands give them, stay open while the rules say so,
// and hand back what was typed. The rules themselves are tested in the core.
#include "tests/ui/UiHarness.h"

#include "ui/frmNewAlias.h"

#include <QListWidget>
#include <QTabWidget>

using namespace nm;
using namespace nm::test;

namespace {

using Rows = std::vector<std::string>;

TEST(AliasDialog, AddsEditsAndOffersTheCatalogue) {
    Editor e;
    e.Load();
    // A refused entry keeps the dialog open; a new command is offered, joins
    // the dialog's list in alphabetical order, and the question's No selects
    // the name for another try.
    e.prompter.answers = {Answer::OK, Answer::Yes, Answer::No, Answer::Yes};
    e.script.steps = {[](QDialog& d) {
                          EXPECT_EQ(d.windowTitle(), "新建命令热键");
                          Type("X", "")(d);
                          EXPECT_TRUE(d.isVisible());
                      },
                      Type("cp", "CHKDSK"),
                      [](QDialog& d) {
                          EXPECT_TRUE(d.isVisible());
                          EXPECT_EQ(d.findChild<QLineEdit*>("txtAlias")->selectedText(), "cp");
                          d.findChild<QPushButton*>("cmdOK")->click();
                      }};
    e.script.Run([&] { e.window->cmdAdd_Click(AliasList); });
    EXPECT_EQ(RowTexts(e.M(), AliasList), (Rows{"CP|CHKDSK", "L|LINE"}));
    EXPECT_EQ(e.dir.Read("alias.pgc"), "\"LINE\"\r\n\"COPY\"\r\n\"CHKDSK\"\r\n");
    const QListWidget* list = e.window->AliasDialog().findChild<QListWidget*>("cmbRepList");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), "CHKDSK");

    // An edit shows the row with its name selected; Cancel changes nothing.
    e.window->SelectListItem(2, AliasList);
    e.script.steps = {[](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "编辑命令热键");
        EXPECT_EQ(d.findChild<QLineEdit*>("txtAlias")->selectedText(), "L");
        EXPECT_EQ(Text(d, "cmbRep"), "LINE");
        d.findChild<QPushButton*>("cmdCancel")->click();
    }};
    e.script.Run([&] { e.window->cmdEdit_Click(AliasList); });
    EXPECT_EQ(RowTexts(e.M(), AliasList), (Rows{"CP|CHKDSK", "L|LINE"}));
}

TEST(ShellDialog, ShowsFlagsOutsideTheChoicesAndStartsAgainAtZero) {
    Editor e("S,DIR,8,*Files:,\r\nH,ODD,x9,,\r\n");
    e.Load();
    e.Get<QTabWidget>("tbsMain")->setCurrentIndex(ShellList);
    e.window->SelectListItem(1, ShellList);
    e.script.steps = {[](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "编辑外部命令");
        const auto* flags = d.findChild<QComboBox*>("comboFlag");
        EXPECT_EQ(flags->count(), 17);
        EXPECT_EQ(flags->currentText(), "x9");
        SetText(d, "txtPrompt", "Why:");
        d.findChild<QPushButton*>("cmdOK")->click();
    }};
    e.script.Run([&] { e.window->cmdEdit_Click(ShellList); });
    EXPECT_EQ(RowTexts(e.M(), ShellList), (Rows{"H|ODD|x9|Why:", "S|DIR|8|Files:"}));
    e.script.steps = {[](QDialog& d) {
                          EXPECT_EQ(d.findChild<QComboBox*>("comboFlag")->count(), 16);
                          EXPECT_EQ(d.findChild<QComboBox*>("comboFlag")->currentText(), "0");
                      },
                      Type("NP", "NOTEPAD", "1", "File:")};
    e.script.Run([&] { e.window->cmdAdd_Click(ShellList); });
    EXPECT_EQ(RowTexts(e.M(), ShellList).front(), "H|ODD|x9|Why:");
    EXPECT_EQ(RowTexts(e.M(), ShellList)[1], "NP|NOTEPAD|1|File:");
}

} // namespace
