// The main window driven as a user drives it, offscreen, with every box,
// dialog and setting answered through the seams' doubles.
#include "Doubles.h"

#include "FileIo.h"
#include "SettingsStore.h"
#include "UiHarness.h"
#include "frmAlias.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace nm;
using namespace nm::test;

namespace {

const std::string Changed = "你改变了这个配置文件. 你想保存这些改变吗?";

TEST(FrmAlias, StartUpLoadsTheHostsFile) {
    Editor e("CP,*COPY\r\nCP,*COPY\r\nL,*LINE\r\nS,DIR,8,*Files:,\r\n");
    e.Load();
    EXPECT_EQ(e.Rows(AliasList), (std::vector<std::string>{"CP=2", "L=1"}));
    EXPECT_EQ(e.Rows(ShellList), std::vector<std::string>{"S=1"});
    EXPECT_EQ(e.M().CurrentFile, e.hostFile);
    EXPECT_EQ(e.M().CurrentFileTitle, "");
    EXPECT_EQ(e.Caption(), "Vectrom 热键编辑器");
    EXPECT_EQ(e.M().FileChanged, 0); // although the duplicate pass removed a row
    EXPECT_FALSE(e.Get("cmdApply")->isEnabled());
    EXPECT_FALSE(e.Get<QAction>("mnuFileSave")->isEnabled());
    EXPECT_TRUE(e.Get<QCheckBox>("chkConfirm")->isChecked());
    EXPECT_TRUE(e.Get("cmdAdd_0")->isDefault());
    EXPECT_EQ(e.window->Catalogue(), (std::vector<std::string>{"LINE", "COPY"}));
    EXPECT_TRUE(e.dialogs.calls.empty());
    EXPECT_TRUE(e.prompter.shown.empty());
    EXPECT_FALSE(e.prompter.busy);
    QAbstractItemModelTester tester(e.window->models[ShellList],
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_EQ(e.window->models[ShellList]->data(e.window->models[ShellList]->index(0, 3)),
              QString("Files:"));
}

TEST(FrmAlias, StartUpWithoutAHostFileOffersTheOpenDialog) {
    for (const bool pick : {false, true}) {
        SCOPED_TRACE(pick);
        Editor e("");
        const std::string file = e.dir.Write("mine.pgp", "A,*ARC\r\n");
        e.dialogs.picks.push_back(pick ? std::optional(file) : std::nullopt);
        e.Load();
        ASSERT_EQ(e.dialogs.calls.size(), 1u);
        EXPECT_EQ(e.dialogs.calls[0].filter, "Vectrom Program Parameter Files |*.pgp");
        EXPECT_EQ(e.dialogs.calls[0].fileName, "");
        EXPECT_EQ(e.Rows(AliasList).size(), pick ? 1u : 0u);
        EXPECT_EQ(e.Caption(), pick ? "mine.pgp - Vectrom 热键编辑器" : "Vectrom 热键编辑器");
        EXPECT_EQ(e.M().FileChanged, 0);
        // The catalogue is missing here: the user was told, once.
        EXPECT_EQ(e.prompter.shown.size(), 0u);
    }
}

TEST(FrmAlias, ConfirmOptionIsReadAndStoredUnderItsExactNames) {
    const auto key =
        std::tuple{"Tessaron 应用软件" + std::string(8, ' '),
                   "Vectrom 热键编辑器" + std::string(7, ' '), "确认" + std::string(5, ' ')};
    struct Case {
        std::optional<std::string> stored;
        bool checked;
    };
    for (const Case& c :
         std::vector<Case>{{std::nullopt, true}, {"0", false}, {"1", true}, {"yes", true}}) {
        SCOPED_TRACE(c.stored.value_or("none"));
        Editor e;
        if (c.stored)
            e.settings.values[key] = *c.stored;
        e.Load();
        QCheckBox* confirm = e.Get<QCheckBox>("chkConfirm");
        EXPECT_EQ(confirm->isChecked(), c.checked);
        confirm->setChecked(!c.checked);
        e.window->mnuFileExit_Click();
        EXPECT_EQ(e.exits, 1);
        EXPECT_EQ(e.settings.values[key], c.checked ? "0" : "1");
    }
}

TEST(FrmAlias, RemovingARowAsksAndMarksTheDocumentChanged) {
    Editor e("CP,*COPY\r\nE,*ERASE\r\n,X\r\nL,*LINE\r\n");
    e.Load();
    // The question names the command, when the row has one.
    for (const std::string command : {"COPY", ""}) {
        e.M().Lists[AliasList].SetSub(0, 1, command);
        e.window->SelectListItem(1, AliasList);
        e.prompter.answers = {Answer::No};
        e.Press(AliasList, Qt::Key_Delete);
        const MessageBox& box = e.prompter.shown.back();
        EXPECT_EQ(box.text, "真要删除这个热键吗?" + std::string(32, ' ') +
                                (command.empty() ? "" : " 对   " + command) + "?");
        EXPECT_EQ(box.title, "删除热键" + std::string(9, ' ') + "CP?");
        EXPECT_EQ(box.buttons, Buttons::YesNo);
        EXPECT_EQ(box.icon, Icon::Question);
    }
    EXPECT_EQ(e.Rows(AliasList).size(), 3u);
    EXPECT_EQ(e.Get("cmdCancel")->text().toStdString(), "关闭(&C)");

    e.window->SelectListItem(1, AliasList);
    e.Press(AliasList, Qt::Key_Delete); // Yes
    EXPECT_EQ(e.Rows(AliasList), (std::vector<std::string>{"E=2", "L=1"}));
    EXPECT_EQ(e.M().FileChanged, 1);
    EXPECT_TRUE(e.Get("cmdApply")->isEnabled());
    EXPECT_TRUE(e.Get<QAction>("mnuFileSave")->isEnabled());
    EXPECT_EQ(e.Get("cmdCancel")->text().toStdString(), "中止");

    // A marked row goes without a question; so does any row with the option off.
    e.M().Lists[AliasList].SetText(0, "---");
    e.window->SelectListItem(1, AliasList);
    const std::size_t boxes = e.prompter.shown.size();
    e.Press(AliasList, Qt::Key_Delete);
    EXPECT_EQ(e.prompter.shown.size(), boxes);
    EXPECT_EQ(e.Rows(AliasList), std::vector<std::string>{"L=1"});
}

TEST(FrmAlias, OpenImportAndNew) {
    Editor e;
    e.Load();
    const std::string other = e.dir.Write("other.pgp", "CP,*CHKDSK\r\nZ,*ZOOM\r\n");
    // Open of the file that is open reads nothing and keeps the changes.
    e.window->SelectListItem(1, AliasList);
    e.Press(AliasList, Qt::Key_Delete);
    e.prompter.answers = {Answer::No};
    e.dialogs.picks.push_back(e.hostFile);
    e.window->mnuFileOpen_Click();
    EXPECT_EQ(e.prompter.shown.back().title, "Save changes?");
    EXPECT_EQ(e.prompter.shown.back().text, "Save changes to " + e.hostFile + "?");
    EXPECT_EQ(e.prompter.shown.back().defaultButton, 2);
    EXPECT_EQ(e.M().FileChanged, 1);
    EXPECT_EQ(e.Rows(AliasList).size(), 1u);

    // Import answered No changes nothing.
    e.prompter.answers = {Answer::No};
    e.dialogs.picks.push_back(other);
    e.window->mnuFileImport_Click();
    EXPECT_EQ(e.prompter.shown.back().title, "Continue import");
    EXPECT_EQ(e.prompter.shown.back().text, "This will import the settings from " + other +
                                                " into your current settings file. Continue?");
    EXPECT_EQ(e.Rows(AliasList).size(), 1u);
    EXPECT_EQ(e.M().CurrentFile, e.hostFile);

    // Import answered Yes merges and keeps the document's file.
    e.prompter.answers = {Answer::Yes};
    e.dialogs.picks.push_back(other);
    e.window->mnuFileImport_Click();
    EXPECT_EQ(e.Rows(AliasList), (std::vector<std::string>{"CP=2", "L=1", "Z=3"}));
    EXPECT_EQ(e.M().CurrentFile, e.hostFile);
    EXPECT_EQ(e.Caption(), "Vectrom 热键编辑器");
    EXPECT_EQ(e.M().FileChanged, 1);

    // New: Cancel keeps everything, No replaces without saving.
    e.prompter.answers = {Answer::Cancel};
    e.window->mnuFileNew_Click();
    EXPECT_EQ(e.Rows(AliasList).size(), 3u);
    e.prompter.answers = {Answer::No};
    e.window->mnuFileNew_Click();
    EXPECT_TRUE(e.Rows(AliasList).empty());
    EXPECT_TRUE(e.Rows(ShellList).empty());
    EXPECT_EQ(e.Caption(), "Unnamed - Vectrom 热键编辑器");
    EXPECT_EQ(e.M().FileChanged, 0);
    EXPECT_EQ(e.M().CurrentFile, "");
}

TEST(FrmAlias, SaveQuestionWithYesSavesAnUnnamedDocumentFirst) {
    Editor e;
    e.Load();
    e.prompter.answers = {Answer::No};
    e.window->mnuFileNew_Click();
    e.script.steps = {Type("A", "LINE")};
    e.script.Run([&] { e.window->cmdAdd_Click(AliasList); });
    ASSERT_EQ(e.M().FileChanged, 1);
    ASSERT_TRUE(e.prompter.shown.empty());
    e.prompter.answers = {Answer::Yes};
    e.dialogs.picks = {e.dir.Path("saved.pgp"), std::nullopt};
    e.window->mnuFileOpen_Click();
    EXPECT_EQ(e.prompter.shown.at(0).text, "Save changes to Unnamed?");
    EXPECT_EQ(e.dialogs.calls[0].fileName, "vtrm.pgp");
    EXPECT_EQ(e.dialogs.calls[0].filter, "Vectrom Program Parameter Files |*.pgp");
    EXPECT_NE(e.dir.Read("saved.pgp").find("A,         *LINE"), std::string::npos);
    EXPECT_EQ(e.M().FileChanged, 0);
    EXPECT_EQ(e.host.requests, 1); // quiet: no confirmation, but the host is asked
}

TEST(FrmAlias, ApplyBranches) {
    struct Case {
        std::string name;
        bool named;   // the document has a file
        bool changed; // FileChanged
        std::vector<Answer> answers;
        std::vector<std::optional<std::string>> picks;
        bool written; // the host file or new.pgp was written
        bool cancel;
        std::size_t dialogs;
    };
    const std::vector<Case> cases = {
        {"nothing to apply", false, false, {}, {}, false, false, 0},
        {"unchanged, named: no question", true, false, {}, {}, true, false, 0},
        {"changed: Yes overwrites", true, true, {Answer::Yes}, {}, true, false, 0},
        {"changed: No goes to save-as", true, true, {Answer::No}, {"new.pgp"}, true, false, 1},
        {"changed: Cancel", true, true, {Answer::Cancel}, {}, false, true, 0},
        {"unnamed: save-as cancelled", false, true, {}, {std::nullopt}, false, true, 1},
        {"unnamed: save-as", false, true, {}, {"new.pgp"}, true, false, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Editor e;
        e.Load();
        if (!c.named) {
            e.M().CurrentFile.clear();
            e.M().CurrentFileTitle.clear();
        }
        e.M().FileChanged = c.changed ? 1 : 0;
        e.prompter.answers.assign(c.answers.begin(), c.answers.end());
        for (const auto& pick : c.picks)
            e.dialogs.picks.push_back(pick ? std::optional(e.dir.Path(*pick)) : std::nullopt);
        const std::string before = e.hostFile.empty() ? "" : e.dir.Read("support/vtrm.pgp");
        bool cancel = false;
        e.window->StartApply(cancel);
        EXPECT_EQ(cancel, c.cancel);
        EXPECT_EQ(e.dialogs.calls.size(), c.dialogs);
        const bool wrote = e.dir.Read("support/vtrm.pgp") != before || e.dir.Exists("new.pgp");
        EXPECT_EQ(wrote, c.written);
        EXPECT_EQ(e.M().FileChanged, c.written ? 0 : (c.changed ? 1 : 0));
        if (!c.named && !c.changed) {
            EXPECT_FALSE(e.Get("cmdApply")->isEnabled());
        }
        if (c.written) {
            // The host cannot be reached here: the user hears so.
            EXPECT_EQ(e.prompter.shown.back().text,
                      "你的 Vectrom 热键被保存并且对你下一个 Vectrom 进程发生作用.");
        }
    }
}

TEST(FrmAlias, OkCancelAndExit) {
    {
        // OK after a cancelled save-as asks about the changes instead of ending.
        Editor e;
        e.Load();
        e.prompter.answers = {Answer::No};
        e.window->mnuFileNew_Click();
        e.M().FileChanged = 1;
        e.dialogs.picks.push_back(std::nullopt);
        e.prompter.answers = {Answer::Cancel};
        e.window->cmdOk_Click();
        EXPECT_EQ(e.prompter.shown.back().text, Changed);
        EXPECT_EQ(e.prompter.shown.back().title, "Save changes to Unnamed?");
        EXPECT_EQ(e.exits, 0);
    }
    {
        // A successful OK ends the program.
        Editor e;
        e.Load();
        e.window->cmdOk_Click();
        EXPECT_EQ(e.exits, 1);
    }
    struct Case {
        Answer answer;
        int exits;
        bool saved;
    };
    for (const Case& c : std::vector<Case>{
             {Answer::No, 1, false}, {Answer::Yes, 0, true}, {Answer::Cancel, 0, false}}) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        Editor e;
        e.Load();
        e.M().FileChanged = 1;
        e.prompter.answers = {c.answer, Answer::Yes};
        e.window->mnuFileExit_Click();
        EXPECT_EQ(e.exits, c.exits);
        EXPECT_EQ(e.M().FileChanged, c.saved ? 0 : 1);
        // After Yes the window stays open; the next Exit asks nothing.
        if (c.saved) {
            const std::size_t boxes = e.prompter.shown.size();
            e.window->mnuFileExit_Click();
            EXPECT_EQ(e.exits, 1);
            EXPECT_EQ(e.prompter.shown.size(), boxes);
        }
    }
    {
        // Closing from the frame asks as Exit does.
        Editor e;
        e.Load();
        e.M().FileChanged = 1;
        e.prompter.answers = {Answer::Cancel};
        QCloseEvent close;
        QApplication::sendEvent(e.window.get(), &close);
        EXPECT_FALSE(close.isAccepted());
        EXPECT_EQ(e.prompter.shown.back().text, Changed);
        EXPECT_EQ(e.exits, 0);
    }
}

TEST(FrmAlias, ColumnClicksSortAndFlip) {
    Editor e("B,*A\r\nA,*C\r\nC,*B\r\n");
    e.Load();
    const auto names = [&] {
        std::string out;
        for (std::size_t i = 0; i < e.M().Lists[AliasList].Count(); ++i)
            out += e.M().Lists[AliasList].At(i).text;
        return out;
    };
    EXPECT_EQ(names(), "ABC");
    e.window->lvwAlias_ColumnClick(AliasList, 0);
    EXPECT_EQ(names(), "CBA");
    e.window->lvwAlias_ColumnClick(AliasList, 1); // keeps the direction
    EXPECT_EQ(names(), "ACB");
    e.window->lvwAlias_ColumnClick(AliasList, 1);
    EXPECT_EQ(names(), "BCA");
    EXPECT_EQ(e.window->lvwAlias[0]->header()->sortIndicatorSection(), 1);
}

TEST(FrmAlias, TabSwitchEnablesOnlyTheShownPage) {
    Editor e;
    e.Load();
    e.Get<QTabWidget>("tbsMain")->setCurrentIndex(1);
    EXPECT_EQ(e.window->CurrentTabIndex(), 1);
    for (const char* name : {"cmdAdd_0", "cmdEdit_0", "cmdRemove_0", "cmdEdit_1", "cmdRemove_1"})
        EXPECT_FALSE(e.Get(name)->isEnabled()) << name;
    EXPECT_TRUE(e.Get("cmdAdd_1")->isEnabled());
    EXPECT_EQ(e.window->lvwAlias[0]->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(e.window->lvwAlias[1]->focusPolicy(), Qt::StrongFocus);
}

} // namespace
