// The document's life without a window: Open, Import, New, the save question,
// Apply, Save, OK and Exit, answered through the seams' doubles, and the rules
// every save obeys: nothing the user has not seen is replaced without a
// question and a backup, and a file that could not be read is claimed by no
// document.
#include "tests/core/Boxes.h"

#include "core/Document.h"
#include "core/Entries.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace nm;
using namespace nm::test;

namespace {

const std::string Host = "CP,*COPY\r\nL,*LINE\r\nS,DIR,8,*Files:,\r\n";

// The document's file, title and changed flag, and its aliases, as one text.
std::string State(const Main& m) {
    std::string state =
        m.CurrentFile + "|" + m.CurrentFileTitle + "|" + std::to_string(m.FileChanged);
    for (const std::string& row : RowTexts(m, AliasList))
        state += " " + row;
    return state;
}

TEST(Document, OpenImportAndNew) {
    LoadedDocument d(Host);
    Main& m = d.h.main;
    ScriptedPrompter& prompter = d.h.prompter;
    const std::string other = d.dir.Write("other.pgp", "CP,*CHKDSK\r\nZ,*ZOOM\r\n");
    // Open of the file that is open reads nothing, and an Open whose disk error
    // is answered Cancel keeps the document it had: both keep the changes.
    StartRemove(m, AliasList, m.Lists[AliasList].At(0).key);
    prompter.shown.clear();
    prompter.answers = {Answer::No, Answer::No, Answer::Cancel};
    d.h.dialogs.picks = {d.path, other};
    StartBrowse(m, false);
    d.h.files.FailNext(FsCall::Read, std::errc::io_error);
    StartBrowse(m, false);
    const std::string save = "Save changes to " + d.path + "?";
    EXPECT_EQ(Box(prompter.shown[0]),
              Box({save, Buttons::YesNoCancel, Icon::Question, "Save changes?", 2}));
    EXPECT_EQ(prompter.Texts(),
              (Rows{save, save, "一个内部磁盘错误发生.", "一个不可修复的错误发生."}));
    EXPECT_EQ(State(m) + "|" + m.OriginalFile, d.path + "||1 L|LINE|" + d.path);

    // Import answered No changes nothing; Yes merges and keeps the document's file.
    prompter.answers = {Answer::No, Answer::Yes};
    d.h.dialogs.picks = {other, other};
    ImportFile(m);
    EXPECT_EQ(Box(prompter.shown.back()),
              Box({"This will import the settings from " + other +
                       " into your current settings file. Continue?",
                   Buttons::YesNo, Icon::Information, "Continue import", 1}));
    EXPECT_EQ(State(m), d.path + "||1 L|LINE");
    ImportFile(m);
    EXPECT_EQ(State(m), d.path + "||1 CP|CHKDSK L|LINE Z|ZOOM");

    // New: Cancel keeps everything, No replaces without saving.
    prompter.answers = {Answer::Cancel, Answer::No};
    NewDocument(m);
    EXPECT_EQ(State(m), d.path + "||1 CP|CHKDSK L|LINE Z|ZOOM");
    NewDocument(m);
    EXPECT_EQ(State(m), "|Unnamed|0");
    EXPECT_TRUE(RowTexts(m, ShellList).empty());

    // Yes in the save question of an unnamed document asks for its name first.
    AddEntryFromDialog(m, AliasList, {"A", "LINE", {}, {}});
    prompter.shown.clear();
    prompter.answers = {Answer::Yes};
    d.h.dialogs.picks = {d.dir.Path("saved.pgp"), std::nullopt};
    StartBrowse(m, false);
    EXPECT_EQ(prompter.shown.at(0).text, "Save changes to Unnamed?");
    const ScriptedFileDialogs::Call& saveAs = d.h.dialogs.calls.end()[-2];
    EXPECT_EQ(saveAs.fileName + saveAs.filter, "vtrm.pgpVectrom Program Parameter Files |*.pgp");
    EXPECT_NE(d.dir.Read("saved.pgp").find("A,         *LINE"), std::string::npos);
}

// Apply, OK and Exit by the document's state and the user's answers. Apply
// saves a named file without unsaved changes at once; changes go through the
// overwrite question (No: save-as), an unnamed document through save-as. OK
// leaves after a save, and after a cancelled one asks as Exit does: No leaves,
// Yes saves and stays, Cancel stays. Exit without unsaved changes leaves.
TEST(Document, ApplyOkAndExit) {
    enum Command { Apply, Ok, Exit };
    // A name; the command; whether the document has a file and unsaved
    // changes; the answers and picks; whether the host file or new.pgp is
    // written; the unloads and the changed flag after.
    using Case = std::tuple<std::string, Command, bool, int, std::vector<Answer>,
                            std::vector<std::optional<std::string>>, bool, int, int>;
    const std::vector<Case> cases = {
        {"nothing to apply", Apply, false, 0, {}, {}, false, 0, 0},
        {"unchanged, named: no question", Apply, true, 0, {}, {}, true, 0, 0},
        {"changed: Yes overwrites", Apply, true, 1, {Answer::Yes}, {}, true, 0, 0},
        {"changed: No goes to save-as", Apply, true, 1, {Answer::No}, {"new.pgp"}, true, 0, 0},
        {"changed: Cancel", Apply, true, 1, {Answer::Cancel}, {}, false, 0, 1},
        {"unnamed: save-as cancelled", Apply, false, 1, {}, {std::nullopt}, false, 0, 1},
        {"unnamed: save-as", Apply, false, 1, {}, {"new.pgp"}, true, 0, 0},
        {"OK", Ok, true, 0, {}, {}, true, 1, 0},
        {"OK, save-as cancelled", Ok, false, 1, {Answer::Cancel}, {std::nullopt}, false, 0, 1},
        {"Exit unchanged", Exit, true, 0, {}, {}, false, 1, 0},
        {"Exit: No", Exit, true, 1, {Answer::No}, {}, false, 1, 1},
        {"Exit: Yes", Exit, true, 1, {Answer::Yes, Answer::Yes}, {}, true, 0, 0},
        {"Exit: Cancel", Exit, true, 1, {Answer::Cancel}, {}, false, 0, 1}};
    for (const auto& [name, command, named, changed, answers, picks, written, unloads,
                      changedAfter] : cases) {
        SCOPED_TRACE(name);
        LoadedDocument d(Host);
        Main& m = d.h.main;
        if (!named)
            m.CurrentFile.clear();
        m.FileChanged = changed;
        d.h.prompter.answers.assign(answers.begin(), answers.end());
        for (const auto& pick : picks)
            d.h.dialogs.picks.push_back(pick ? std::optional(d.dir.Path(*pick)) : std::nullopt);
        if (command == Apply)
            EXPECT_EQ(StartApply(m), changedAfter == 1); // unsaved changes are a cancel
        else
            command == Ok ? ApplyAndLeave(m) : StartCancel(m);
        // A save asks the host to re-read the file.
        EXPECT_EQ(
            std::tuple(d.h.dialogs.calls.size(), m.FileChanged, d.h.view.applyDisabled,
                       d.h.host.requests, d.h.view.unloads),
            std::tuple(picks.size(), changedAfter, !named && !changed, int{written}, unloads));
        EXPECT_EQ(d.dir.Read("vtrm.pgp") != Host || d.dir.Exists("new.pgp"), written);
        EXPECT_EQ(d.h.view.results.size(), std::size_t{written}); // "已保存 ..." at the foot
        if (command != Apply && changed) {
            EXPECT_EQ(Box(d.h.prompter.shown.at(0)),
                      Box({"你改变了这个配置文件. 你想保存这些改变吗?", Buttons::YesNoCancel,
                           Icon::Exclamation, "Save changes to ?", 1}));
        } else if (command == Exit) {
            EXPECT_TRUE(d.h.prompter.shown.empty());
        }
    }
}

// A document whose read stopped at a bad line, or whose file someone else
// changed since it was read, replaces that file only after a question (No
// by default), and on Yes keeps the replaced bytes in the backup whatever the
// confirm option; on No the file stays as it was.
TEST(Document, BytesTheUserHasNotSeenAreAskedForAndKept) {
    // Every combination: partial or changed, Apply, OK or Save, Yes or No,
    // the confirm option on or off.
    for (int run = 0; run < 24; ++run) {
        SCOPED_TRACE(run);
        const bool partial = run % 2, yes = run / 2 % 2, confirm = run / 4 % 2;
        const int command = run / 8; // Apply, OK, Save
        LoadedDocument d(partial ? "CP,*COPY\r\nX,C,0\r\nL,*LINE\r\n" : "CP,*COPY\r\n");
        Main& m = d.h.main;
        if (!partial) // a colleague adds an alias meanwhile
            d.dir.Write("vtrm.pgp", "CP,*COPY\r\nZ,*ZOOM\r\n");
        const std::string before = d.dir.Read("vtrm.pgp");
        d.h.view.confirm = confirm;
        d.h.prompter.shown.clear();
        // File > Save asks its overwrite question first, with the option on.
        if (command == 2 && confirm)
            d.h.prompter.answers.push_back(Answer::Yes);
        d.h.prompter.answers.push_back(yes ? Answer::Yes : Answer::No);
        command == 0 ? (void)StartApply(m) : command == 1 ? ApplyAndLeave(m) : SaveDocument(m);
        const auto question =
            std::find_if(d.h.prompter.shown.begin(), d.h.prompter.shown.end(),
                         [](const MessageBox& box) { return box.buttons == Buttons::YesNo; });
        ASSERT_NE(question, d.h.prompter.shown.end());
        EXPECT_EQ(Box({question->text.substr(0, d.path.size()), Buttons::YesNo, question->icon,
                       question->title, question->defaultButton}),
                  Box({d.path, Buttons::YesNo, Icon::Exclamation,
                       partial ? "文件没有全部读入" : "文件已改变", 2}));
        EXPECT_EQ(question->text.find("第 2 行: X,C,0") != std::string::npos, partial);
        EXPECT_EQ(d.dir.Read("vtrm.pgp") == before, !yes);
        EXPECT_EQ(d.dir.Exists("备份        vtrm.pgp") ? d.dir.Read("备份        vtrm.pgp") : "-",
                  yes ? before : "-");
        EXPECT_TRUE(!yes || m.PartialLine == 0);
        // OK leaves, also after No: the document was unchanged.
        EXPECT_EQ(d.h.view.unloads, command == 1 ? 1 : 0);
    }
}

// A host file that is gone by start-up is claimed by no document: a save
// cannot replace it with an empty list.
TEST(Document, FailedStartUpLeavesNoDocumentClaimingTheFile) {
    Harness h;
    TempDir dir;
    StartUp(h.main, dir.Path("missing.pgp"));
    EXPECT_EQ(h.main.CurrentFile + h.main.OriginalFile, "");
    StartApply(h.main);
    EXPECT_TRUE(h.view.applyDisabled);
    EXPECT_TRUE(dir.Names().empty());
}

} // namespace
