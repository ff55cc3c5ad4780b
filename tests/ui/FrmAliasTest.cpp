// The main window and its entry dialogs driven offscreen by their controls'
// names, as a user drives them: every box, dialog and setting is answered
// through the seams' doubles, and a script fills and confirms the entry
// dialogs. What the core decides is tested in the core; here, that each kind
// of control reaches it and that the lists follow the rows.
#include "tests/ui/UiHarness.h"
#include "ui/ProblemsPanel.h"

using namespace nm;
using namespace nm::test;
using namespace std::string_literals;

namespace {

// A click on the sorted column flips the direction; another column keeps it;
// the selected row stays selected. Delete and space on a list run the page's
// Remove and Edit; the commands and the Cancel caption follow the document;
// closing the frame asks as Exit does.
TEST(FrmAlias, ColumnClicksSortKeysRemoveAndEditAndTheFrameAsksBeforeClosing) {
    Editor e("B,*A\r\nA,*C\r\nC,*B\r\n");
    e.Load();
    EXPECT_EQ(e.window->windowTitle(), "Vectrom 热键编辑器"); // the host's own file
    EXPECT_TRUE(e.Get("cmdAdd_0")->isDefault() && !e.Get("cmdApply")->isEnabled() &&
                !e.Get<QAction>("mnuFileSave")->isEnabled());
    e.ClickRow(AliasList, 1);
    for (const auto& [column, shown] :
         std::vector<std::pair<int, std::string>>{{0, "C[B]A"}, {1, "AC[B]"}, {1, "[B]CA"}}) {
        e.ClickColumn(AliasList, column);
        EXPECT_EQ(e.Shown(AliasList), shown);
    }
    e.Key(AliasList, Qt::Key_Delete); // Yes to the question
    EXPECT_EQ(RowTexts(e.window->State(), AliasList), (Rows{"A|C", "C|B"}));
    EXPECT_TRUE(e.Get("cmdApply")->isEnabled() && e.Get<QAction>("mnuFileSave")->isEnabled() &&
                e.Get<QCheckBox>("chkConfirm")->isChecked()); // by default
    EXPECT_EQ(e.Get("cmdCancel")->text(), "中止");
    // The row below took the removed one's place: space edits it.
    e.script.steps = {[](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "编辑命令热键");
        EXPECT_EQ(Field(d, "txtAlias")->selectedText() + Field(d, "cmbRep")->text(), "CB");
        Type("CC", "B")(d);
    }};
    e.script.Run([&] { e.Key(AliasList, Qt::Key_Space); });
    EXPECT_EQ(RowTexts(e.window->State(), AliasList), (Rows{"A|C", "CC|B"}));
    for (const Answer answer : {Answer::Cancel, Answer::No}) {
        e.prompter.answers = {answer}; // to saving the changes
        QCloseEvent close;
        QApplication::sendEvent(e.window.get(), &close);
        EXPECT_EQ(e.window->isVisible(), answer == Answer::Cancel);
        EXPECT_EQ(e.exits, answer == Answer::No ? 1 : 0);
    }
}

// The shell dialog shows flags outside its choices and starts again at zero;
// single edits reach the views row by row; only a new document resets them.
TEST(FrmAlias, ShellDialogAndListsFollowSingleEditsRowByRow) {
    Editor e("S,DIR,8,*Files:,\r\nH,ODD,x9,,\r\n");
    e.Load();
    e.Get<QTabWidget>("tbsMain")->setCurrentIndex(ShellList); // its list takes clicks and keys
    QAbstractItemModel* model = e.List(ShellList)->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    Rows log;
    const auto row = [&](const char* what, int r) { log.push_back(what + std::to_string(r)); };
    QObject::connect(model, &QAbstractItemModel::rowsInserted, [&](auto, int r) { row("+", r); });
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, [&](auto, int r) { row("-", r); });
    QObject::connect(model, &QAbstractItemModel::dataChanged, [&](auto i) { row("=", i.row()); });
    QObject::connect(model, &QAbstractItemModel::layoutChanged, [&] { log.push_back("moved"); });
    QObject::connect(model, &QAbstractItemModel::modelReset, [&] { log.push_back("reset"); });
    const auto flags = [](QDialog& d, int count, const char* shown) {
        EXPECT_EQ(d.findChild<QComboBox*>("comboFlag")->count(), count);
        EXPECT_EQ(d.findChild<QComboBox*>("comboFlag")->currentText(), shown);
    };
    e.ClickRow(ShellList, 0);
    e.script.steps = {[&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "编辑外部命令");
        flags(d, 17, "x9");
        Field(d, "txtPrompt")->setText("Why:");
        d.findChild<QPushButton*>("cmdOK")->click();
    }};
    e.script.Run([&] { e.Trigger("mnuEditEdit"); });
    // A redefinition marks the old row, which moves to the top, and adds the new one.
    e.script.steps = {[&](QDialog& d) { flags(d, 16, "0"); }, Type("S", "DIR", "9", "Files:")};
    e.script.Run([&] { e.Get("cmdAdd_1")->click(); });
    EXPECT_EQ(std::pair(e.Shown(ShellList), model->index(1, 3).data()),
              std::pair("---H[S]"s, QVariant("Why:")));
    // The marked row is greyed and says why.
    const QModelIndex marked = model->match(model->index(0, 0), Qt::DisplayRole, "---").value(0);
    EXPECT_TRUE(marked.data(Qt::ForegroundRole).isValid());
    EXPECT_EQ(marked.data(Qt::ToolTipRole), "后面的同名定义替换了这个热键 (DIR); 保存时不写入");
    // A cell its column cuts off shows its whole text as a tool tip; one that fits, none.
    QTreeView* list = e.List(ShellList);
    const auto tip = [&](int width) {
        list->setColumnWidth(1, width);
        const QPoint place = list->visualRect(model->index(1, 1)).center();
        QHelpEvent help(QEvent::ToolTip, place, list->viewport()->mapToGlobal(place));
        QApplication::sendEvent(list->viewport(), &help);
        return QToolTip::text();
    };
    const QString fits = tip(300);
    EXPECT_EQ(fits + "|" + tip(8), "|ODD");
    e.prompter.answers = {Answer::No}; // to saving the changes
    e.Trigger("mnuFileNew");
    EXPECT_EQ(log, (Rows{"-0", "+0", "moved", "=0", "+2", "reset"}));
}

// Without a host file the start offers the open dialog (its filter is the
// core's), and the caption names the file; the confirm option is read and
// stored under its exact names; print and help are reached from their menu
// commands. A new command joins the catalogue and the dialog's list; an entry
// the user does not confirm keeps the dialog open with its name selected.
TEST(FrmAlias, StartUpMenusConfirmOptionAndTheAliasDialogInAFileOpenedAtStart) {
    const auto key =
        std::tuple{"Tessaron 应用软件" + std::string(8, ' '),
                   "Vectrom 热键编辑器" + std::string(7, ' '), "确认" + std::string(5, ' ')};
    Editor e("");
    e.settings.values[key] = "0";
    e.dialogs.picks.push_back(e.dir.Write("mine.pgp", "CP,*COPY\r\nL,*LINE\r\n"));
    e.Load();
    EXPECT_EQ(e.window->windowTitle(), "mine.pgp - Vectrom 热键编辑器");
    EXPECT_FALSE(e.Get<QCheckBox>("chkConfirm")->isChecked());
    e.Get<QCheckBox>("chkConfirm")->setChecked(true);
    e.Trigger("mnuFilePrint");
    EXPECT_EQ(e.printer.Count("E"), 1u);
    EXPECT_EQ(e.Get<QLabel>("lblPrinting")->text(), "打印       mine.pgp...");
    e.Trigger("mnuHelpSearch");
    EXPECT_EQ(e.help.requests, (std::vector<HelpRequest>{{"ALIAS.HLP", "NICKMAKER", 257}}));
    e.prompter.answers = {Answer::Yes, Answer::No, Answer::Yes}; // add CHKDSK, replace CP
    e.script.steps = {[](QDialog& d) {
                          EXPECT_EQ(d.windowTitle(), "新建命令热键");
                          Type("cp", "CHKDSK")(d);
                      },
                      [](QDialog& d) {
                          EXPECT_EQ(Field(d, "txtAlias")->selectedText(), "cp");
                          d.findChild<QPushButton*>("cmdOK")->click();
                      }};
    e.script.Run([&] { e.Trigger("mnuEditAdd"); });
    EXPECT_EQ(RowTexts(e.window->State(), AliasList), (Rows{"CP|CHKDSK", "L|LINE"}));
    EXPECT_EQ(e.Get<QListWidget>("cmbRepList")->item(0)->text(), "CHKDSK");
    e.prompter.answers = {Answer::No}; // to saving the changes
    e.Trigger("mnuFileExit");
    EXPECT_EQ(std::pair(e.exits, e.settings.values[key]), std::pair(1, "1"s));
}

// Enter on the list presses the page's default button (Add); in an entry
// dialog it presses 确认, and the Add dialog starts in the name field; Clear
// cancels it. Enter on a focused button presses that button. The status line
// names the file open, its encoding and line ends. Every control has an
// accessible name.
TEST(FrmAlias, EnterPressesTheFocusedButtonAndConfirmsAnEntry) {
    Editor e("B,*A\n");
    e.Load();
    EXPECT_EQ(e.Get<QLabel>("lblStatus")->text().toStdString(),
              e.dir.Path("support/vtrm.pgp") + "    UTF-8, LF");
    const auto enter = [](QWidget* widget) { QTest::keyClick(widget, Qt::Key_Return); };
    e.script.steps = {[&](QDialog& d) {
        EXPECT_EQ(d.focusWidget(), Field(d, "txtAlias"));
        Field(d, "txtAlias")->setText("D");
        QLineEdit* command = Field(d, "cmbRep");
        auto* list = d.findChild<QListWidget*>("cmbRepList");
        QTest::keyClicks(command, "li"); // the list shows LINE; the text stays
        EXPECT_EQ(command->text() + list->currentItem()->text(), "liLINE");
        QTest::keyClick(command, Qt::Key_Up);
        command->setText("x"); // a click on the command highlighted picks it
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->currentItem()).center());
        EXPECT_EQ(command->text(), "COPY");
        QTest::keyClick(command, Qt::Key_Down);
        enter(command);
    }};
    e.script.Run([&] { enter(e.List(AliasList)); });
    EXPECT_EQ(RowTexts(e.window->State(), AliasList), (Rows{"B|A", "D|LINE"}));
    // The Clear key in the command field cancels.
    e.script.steps = {[](QDialog& d) { QTest::keyRelease(Field(d, "cmbRep"), Qt::Key_Clear); }};
    e.script.Run([&] { e.Trigger("mnuEditAdd"); });
    EXPECT_EQ(RowTexts(e.window->State(), AliasList), (Rows{"B|A", "D|LINE"}));
    e.prompter.answers = {Answer::No}; // to saving the changes
    enter(e.Get("cmdCancel"));
    EXPECT_EQ(e.exits, 1);
    // Every control a user can reach, in the window and its entry dialogs, has
    // a name a screen reader says; a field or a choice has its own, not its value.
    for (QWidget* control : e.window->findChildren<QWidget*>()) {
        // Qt's own parts of a control have no object name.
        if (control->objectName().isEmpty() ||
            (control->focusPolicy() == Qt::NoFocus && !qobject_cast<QAbstractItemView*>(control)))
            continue;
        const bool holdsValue =
            qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control);
        EXPECT_FALSE(
            QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty() ||
            (holdsValue && control->accessibleName().isEmpty()))
            << control->objectName().toStdString();
    }
}

// The filter shows the rows whose name or command holds the text typed,
// letter case aside; Esc clears it, and so does a new row it would hide. Undo
// and redo say what they undo and walk the document back to unchanged. The
// problems of the file read lead to their rows; the file changed on disk is
// told, and read again on a click while nothing is unsaved. A file dropped
// on the window is imported.
TEST(FrmAlias, FilterUndoProblemsAndTheFileOnDisk) {
    Editor e("B,*A\r\nA,*C\r\nC,*B\r\nA,*D\r\n");
    e.Load();
    e.window->show();
    auto* filter = e.Spoken<QLineEdit>("筛选");
    QTest::keyClicks(filter, "b");
    EXPECT_EQ(e.Shown(AliasList), "[B]C");
    QTest::keyClick(filter, Qt::Key_Escape);
    EXPECT_EQ(e.Shown(AliasList), "---A[B]C");
    QTest::keyClicks(filter, "zz");
    e.script.steps = {Type("D", "LINE")};
    e.script.Run([&] { e.Trigger("mnuEditAdd"); });
    EXPECT_EQ(std::pair(e.Shown(AliasList), filter->text()), std::pair("---ABC[D]"s, QString()));
    QAction* undo = e.Get<QAction>("mnuEditUndo");
    EXPECT_EQ(std::pair(undo->text(), int{e.M().FileChanged}),
              std::pair(QString("撤销 增加 D(&U)"), 1));
    undo->trigger();
    EXPECT_EQ(std::tuple(e.Shown(AliasList), int{e.M().FileChanged}, undo->isEnabled()),
              std::tuple("---ABC"s, 0, false));
    e.Trigger("mnuEditRedo");
    EXPECT_EQ(e.Shown(AliasList), "---ABCD");
    // The replaced row's finding leads to it.
    ASSERT_NE(e.Spoken("问题"), nullptr);
    emit e.window->findChild<ProblemsPanel*>()->rowRequested(AliasList, e.M().Lists[0].At(0).key);
    EXPECT_EQ(e.Shown(AliasList), "[---]ABCD");
    // Changed on disk: told; with nothing unsaved, read again on a click.
    e.Trigger("mnuEditUndo");
    e.dir.Write("support/vtrm.pgp", "X,*LINE\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(e.Spoken<QPushButton>("重新读入"), 5000);
    e.Spoken<QPushButton>("重新读入")->click();
    EXPECT_EQ(e.Shown(AliasList), "[X]");
    // A file dropped on the window is imported, after the import question.
    QMimeData dropped;
    dropped.setUrls(
        {QUrl::fromLocalFile(QString::fromStdString(e.dir.Write("o.pgp", "Y,*ARC\r\n")))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, {});
    for (QEvent* step : std::initializer_list<QEvent*>{&enter, &drop})
        QApplication::sendEvent(e.window.get(), step);
    EXPECT_EQ(std::pair(e.Shown(AliasList), e.prompter.shown.back().title.value_or("")),
              std::pair("[X]Y"s, "Continue import"s));
}

} // namespace
