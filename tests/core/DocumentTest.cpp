// The document's life without a window: Open, Import, New, the save question,
// Apply, Save, OK and Exit, answered through the seams' doubles, and the rules
// every save obeys: nothing the user has not seen is replaced without a
// question and a backup, and a file that could not be read is claimed by no
// document.
#include "tests/support/Doubles.h"

#include "core/Document.h"
#include "core/Entries.h"
#include "tests/support/FailingFileSystem.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace nm;
using namespace nm::test;

namespace {

using Rows = std::vector<std::string>;
const std::string Host = "CP,*COPY\r\nL,*LINE\r\nS,DIR,8,*Files:,\r\n";

// A box as one text, so that a test compares all of it at once.
std::string Box(const MessageBox& box) {
    return box.title.value_or("-") + "|" + box.text + "|" +
           std::to_string(static_cast<int>(box.buttons)) + "|" +
           std::to_string(static_cast<int>(box.icon)) + "|" + std::to_string(box.defaultButton);
}

// The document's file, title and changed flag, and its aliases, as one text.
std::string State(const Main& m) {
    std::string aliases;
    for (const std::string& row : RowTexts(m, AliasList))
        aliases += (aliases.empty() ? "" : " ") + row;
    return m.CurrentFile + "|" + m.CurrentFileTitle + "|" + std::to_string(m.FileChanged) + "|" +
           aliases;
}

TEST(Document, OpenImportAndNew) {
    LoadedDocument d(Host);
    Main& m = d.h.main;
    ScriptedPrompter& prompter = d.h.prompter;
    const std::string other = d.dir.Write("other.pgp", "CP,*CHKDSK\r\nZ,*ZOOM\r\n");
    // Open of the file that is open reads nothing and keeps the changes.
    StartRemove(m, AliasList, m.Lists[AliasList].At(0).key);
    prompter.answers = {Answer::No};
    d.h.dialogs.picks.push_back(d.path);
    StartBrowse(m, false);
    EXPECT_EQ(Box(prompter.shown.back()),
              Box({"Save changes to " + d.path + "?", Buttons::YesNoCancel, Icon::Question,
                   "Save changes?", 2}));
    EXPECT_EQ(State(m), d.path + "||1|L|LINE");

    // Import answered No changes nothing; Yes merges and keeps the document's file.
    prompter.answers = {Answer::No};
    d.h.dialogs.picks.push_back(other);
    ImportFile(m);
    EXPECT_EQ(Box(prompter.shown.back()),
              Box({"This will import the settings from " + other +
                       " into your current settings file. Continue?",
                   Buttons::YesNo, Icon::Information, "Continue import", 1}));
    EXPECT_EQ(State(m), d.path + "||1|L|LINE");
    prompter.answers = {Answer::Yes};
    d.h.dialogs.picks.push_back(other);
    ImportFile(m);
    EXPECT_EQ(State(m), d.path + "||1|CP|CHKDSK L|LINE Z|ZOOM");

    // New: Cancel keeps everything, No replaces without saving.
    prompter.answers = {Answer::Cancel};
    NewDocument(m);
    EXPECT_EQ(State(m), d.path + "||1|CP|CHKDSK L|LINE Z|ZOOM");
    prompter.answers = {Answer::No};
    NewDocument(m);
    EXPECT_EQ(State(m), "|Unnamed|0|");
    EXPECT_TRUE(RowTexts(m, ShellList).empty());

    // Yes in the save question of an unnamed document asks for its name first.
    AddEntryFromDialog(m, AliasList, {"A", "LINE", {}, {}});
    prompter.shown.clear();
    prompter.answers = {Answer::Yes};
    d.h.dialogs.calls.clear();
    d.h.dialogs.picks = {d.dir.Path("saved.pgp"), std::nullopt};
    StartBrowse(m, false);
    EXPECT_EQ(prompter.shown.at(0).text, "Save changes to Unnamed?");
    EXPECT_EQ(d.h.dialogs.calls[0].fileName + d.h.dialogs.calls[0].filter,
              "vtrm.pgpVectrom Program Parameter Files |*.pgp");
    EXPECT_NE(d.dir.Read("saved.pgp").find("A,         *LINE"), std::string::npos);
    EXPECT_EQ(m.FileChanged, 0);
    EXPECT_EQ(d.h.host.requests, 1); // quiet: no confirmation, but the host is asked
}

TEST(Document, ApplyBranches) {
    // A name; whether the document has a file and unsaved changes; the answers
    // and picks; whether the host file or new.pgp is written; whether Apply
    // reports a cancel.
    using Case = std::tuple<std::string, bool, bool, std::vector<Answer>,
                            std::vector<std::optional<std::string>>, bool, bool>;
    const std::vector<Case> cases = {
        {"nothing to apply", false, false, {}, {}, false, false},
        {"unchanged, named: no question", true, false, {}, {}, true, false},
        {"changed: Yes overwrites", true, true, {Answer::Yes}, {}, true, false},
        {"changed: No goes to save-as", true, true, {Answer::No}, {"new.pgp"}, true, false},
        {"changed: Cancel", true, true, {Answer::Cancel}, {}, false, true},
        {"unnamed: save-as cancelled", false, true, {}, {std::nullopt}, false, true},
        {"unnamed: save-as", false, true, {}, {"new.pgp"}, true, false}};
    for (const auto& [name, named, changed, answers, picks, written, cancel] : cases) {
        SCOPED_TRACE(name);
        LoadedDocument d(Host);
        Main& m = d.h.main;
        if (!named)
            m.CurrentFile.clear();
        m.FileChanged = changed ? 1 : 0;
        d.h.prompter.answers.assign(answers.begin(), answers.end());
        for (const auto& pick : picks)
            d.h.dialogs.picks.push_back(pick ? std::optional(d.dir.Path(*pick)) : std::nullopt);
        const bool cancelled = StartApply(m);
        EXPECT_EQ(
            std::tuple(cancelled, d.h.dialogs.calls.size(), m.FileChanged, d.h.view.applyDisabled),
            std::tuple(cancel, picks.size(), written ? 0 : int{changed}, !named && !changed));
        EXPECT_EQ(d.dir.Read("vtrm.pgp") != Host || d.dir.Exists("new.pgp"), written);
        if (written) { // the host cannot be reached here: the user hears so
            EXPECT_EQ(d.h.prompter.shown.back().text,
                      "你的 Vectrom 热键被保存并且对你下一个 Vectrom 进程发生作用.");
        }
    }
}

// OK leaves after a save; after a cancelled save-as it asks about the changes
// instead. Exit asks about unsaved changes: No leaves, Yes saves and stays,
// Cancel stays; without unsaved changes it leaves and asks nothing.
TEST(Document, OkCancelAndExit) {
    // A name, OK or Exit, the answers, the unloads and the changed flag after.
    using Case = std::tuple<std::string, bool, std::vector<Answer>, int, int>;
    const std::vector<Case> cases = {{"OK", true, {}, 1, 0},
                                     {"OK, save-as cancelled", true, {Answer::Cancel}, 0, 1},
                                     {"Exit: No", false, {Answer::No}, 1, 1},
                                     {"Exit: Yes", false, {Answer::Yes, Answer::Yes}, 0, 0},
                                     {"Exit: Cancel", false, {Answer::Cancel}, 0, 1}};
    for (const auto& [name, ok, answers, unloads, changed] : cases) {
        SCOPED_TRACE(name);
        LoadedDocument d(Host);
        if (answers.size() == 1 && ok)
            d.h.main.CurrentFile.clear(); // the save-as dialog is cancelled
        d.h.main.FileChanged = name == "OK" ? 0 : 1;
        d.h.prompter.answers.assign(answers.begin(), answers.end());
        ok ? ApplyAndLeave(d.h.main) : StartCancel(d.h.main);
        EXPECT_EQ(std::tuple(d.h.view.unloads, d.h.main.FileChanged), std::tuple(unloads, changed));
        if (name != "OK") {
            EXPECT_EQ(Box(d.h.prompter.shown.at(0)),
                      Box({"你改变了这个配置文件. 你想保存这些改变吗?", Buttons::YesNoCancel,
                           Icon::Exclamation, "Save changes to ?", 1}));
        }
        if (!changed) {
            const std::size_t boxes = d.h.prompter.shown.size();
            StartCancel(d.h.main);
            EXPECT_EQ(std::tuple(d.h.prompter.shown.size(), d.h.view.unloads),
                      std::tuple(boxes, unloads + 1));
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

// A file of which nothing could be read is claimed by no document: a save
// cannot replace it with an empty list.
TEST(Document, FailedOpenLeavesNoDocumentClaimingTheFile) {
    // A host file that is gone by start-up.
    Harness h;
    TempDir dir;
    StartUp(h.main, dir.Path("missing.pgp"));
    EXPECT_EQ(h.main.CurrentFile + h.main.OriginalFile, "");
    StartApply(h.main);
    EXPECT_TRUE(h.view.applyDisabled);
    EXPECT_TRUE(dir.Names().empty());
    // An Open whose disk error is answered Cancel keeps the document it had,
    // with its changes.
    LoadedDocument d(Host);
    Main& m = d.h.main;
    StartRemove(m, AliasList, m.Lists[AliasList].At(0).key);
    const std::string other = d.dir.Write("other.pgp", "Z,*ZOOM\r\n");
    d.h.files.FailNext(FsCall::Read, std::errc::io_error);
    d.h.prompter.shown.clear();
    d.h.prompter.answers = {Answer::No, Answer::Cancel};
    d.h.dialogs.picks.push_back(other);
    StartBrowse(m, false);
    EXPECT_EQ(d.h.prompter.Texts(), (Rows{"Save changes to " + d.path + "?",
                                          "一个内部磁盘错误发生.", "一个不可修复的错误发生."}));
    EXPECT_EQ(State(m), d.path + "||1|L|LINE");
    EXPECT_EQ(m.OriginalFile, d.path);
}

} // namespace
