// The main window driven as a user drives it, offscreen, with every box,
// dialog and setting answered through the seams' doubles.
#include "tests/support/Doubles.h"

#include "host/FileIo.h"
#include "host/SettingsStore.h"
#include "tests/ui/UiHarness.h"
#include "ui/frmAlias.h"

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
    Editor e("");
    e.dialogs.picks.push_back(e.dir.Write("mine.pgp", "A,*ARC\r\n"));
    e.Load();
    ASSERT_EQ(e.dialogs.calls.size(), 1u);
    EXPECT_EQ(e.dialogs.calls[0].filter, "Vectrom Program Parameter Files |*.pgp");
    EXPECT_EQ(e.dialogs.calls[0].fileName, "");
    EXPECT_EQ(e.Rows(AliasList).size(), 1u);
    EXPECT_EQ(e.Caption(), "mine.pgp - Vectrom 热键编辑器");
    EXPECT_EQ(e.M().FileChanged, 0);
    EXPECT_EQ(e.prompter.shown.size(), 0u);
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

// The keys of a list run the commands of its page; the buttons and the
// caption follow the document.
TEST(FrmAlias, KeysOnTheListRemoveAndEdit) {
    Editor e("CP,*COPY\r\nE,*ERASE\r\nL,*LINE\r\n");
    e.Load();
    EXPECT_EQ(e.Get("cmdCancel")->text().toStdString(), "关闭");
    e.window->SelectListItem(1, AliasList);
    e.Press(AliasList, Qt::Key_Delete); // Yes to the question
    EXPECT_EQ(e.prompter.shown.back().title, "删除热键" + std::string(9, ' ') + "CP?");
    EXPECT_EQ(e.Rows(AliasList), (std::vector<std::string>{"E=2", "L=1"}));
    EXPECT_TRUE(e.Get("cmdApply")->isEnabled());
    EXPECT_TRUE(e.Get<QAction>("mnuFileSave")->isEnabled());
    EXPECT_EQ(e.Get("cmdCancel")->text().toStdString(), "中止");
    // The row below took the removed one's place: space edits it.
    e.script.steps = {Type("EE", "ERASE")};
    e.script.Run([&] { e.Press(AliasList, Qt::Key_Space); });
    EXPECT_EQ(e.Rows(AliasList), (std::vector<std::string>{"EE=2", "L=1"}));
}

TEST(FrmAlias, ClosingFromTheFrameAsksAsExitDoes) {
    Editor e;
    e.Load();
    e.M().FileChanged = 1;
    e.prompter.answers = {Answer::Cancel};
    QCloseEvent close;
    QApplication::sendEvent(e.window.get(), &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_EQ(e.prompter.shown.back().text, Changed);
    EXPECT_EQ(e.exits, 0);
    e.prompter.answers = {Answer::No};
    QApplication::sendEvent(e.window.get(), &close);
    EXPECT_EQ(e.exits, 1);
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
