#include "core/Document.h"

#include "core/Duplicates.h"
#include "core/History.h"
#include "core/ListRows.h"
#include "core/PgpWriter.h"
#include "host/ErrorHandler.h"
#include "host/FileIo.h"
#include "host/Locator.h"
#include "host/Paths.h"
#include "host/Utf8.h"

namespace nm {

void FillInListView(Main& main, bool importing, DuplicateObserver* observer) {
    DocumentView& view = main.svc.view;
    BusyPointer busy(main.svc.prompter);
    view.ShowProgress(true);
    view.ChangeRows(AliasList, [&] {
        view.ChangeRows(ShellList, [&] { FillListRows(main, importing, observer); });
    });
    view.SelectListItem(1, AliasList);
    view.ShowProgress(false);
}

ReadResult OpenPgpFile(Main& main, const std::string& path, bool importing, ReadObserver* reader,
                       DuplicateObserver* duplicates) {
    const std::array<std::uint64_t, 2> firstAdded{main.Lists[AliasList].NextAdded(),
                                                  main.Lists[ShellList].NextAdded()};
    const ReadResult result = ReadPgpFile(main, path, importing, reader);
    if (result != ReadResult::Unread) {
        FillInListView(main, importing, duplicates);
        main.svc.view.FileRead(path, importing ? firstAdded : std::array<std::uint64_t, 2>{});
    }
    return result;
}

void StartUp(Main& main, const std::string& hostFile) {
    main.CurrentFile = hostFile;
    main.svc.view.UpdateCaption();
    if (!main.CurrentFile.empty()) {
        // A host file that cannot be read is no document: the lists stay
        // empty and nothing claims the file, so no save can replace it.
        if (OpenPgpFile(main, main.CurrentFile, false) == ReadResult::Unread)
            main.CurrentFile.clear();
        main.svc.view.MakeAddDefault(AliasList);
    } else {
        StartBrowse(main, false);
    }
    main.FileChanged = 0;
    main.history.Clear();
}

bool AskToSaveChanges(Main& main, const std::string& filter) {
    // Asked whenever there are unsaved changes, also after the start-up load
    // (which leaves the title empty): nothing is replaced without a question.
    if (main.FileChanged == 0)
        return true;
    const std::string name = main.CurrentFile.empty() ? "Unnamed" : main.CurrentFile;
    const Answer answer = main.svc.prompter.Show(MessageBox{
        "Save changes to " + name + "?", Buttons::YesNoCancel, Icon::Question, "Save changes?", 2});
    if (answer == Answer::No)
        return true;
    if (answer != Answer::Yes)
        return false;
    if (main.CurrentFile.empty()) {
        const std::string chosen = AskSaveFileName(main, filter, HostPgpFileName);
        if (chosen.empty())
            return false;
        main.CurrentFile = chosen;
        main.CurrentFileTitle = main.svc.dialogs.FileTitle();
    }
    // A save that did not complete keeps the document and stops the command.
    return SavePgpFile(main, main.CurrentFile, main.CurrentFileTitle, true);
}

namespace {

// Open or Import of a file the user named, the document's own file or title
// being `previous` and `previousTitle` before it.
void ReadNamedFile(Main& main, const std::string& path, const std::string& title, bool import,
                   const std::string& previous, const std::string& previousTitle) {
    DocumentView& view = main.svc.view;
    main.CurrentFile = path;
    main.CurrentFileTitle = title;
    if (import) {
        if (view.ConfirmChecked()) {
            const Answer answer = main.svc.prompter.Show(
                MessageBox{"This will import the settings from " + path +
                               " into your current settings file. Continue?",
                           Buttons::YesNo, Icon::Information, "Continue import", 1});
            if (answer != Answer::Yes)
                return;
        }
        RecordStep(main, "导入 " + FileNamePart(path), [&] {
            OpenPgpFile(main, path, true);
            main.FileChanged = 1;
        });
    } else {
        view.UpdateCaption();
        const std::int16_t changed = main.FileChanged;
        main.FileChanged = 0;
        if (OpenPgpFile(main, path, false) == ReadResult::Unread) {
            // Nothing of the file was read: the document stays the one it
            // was, with its changes, and does not claim the other file.
            main.CurrentFile = previous;
            main.CurrentFileTitle = previousTitle;
            main.FileChanged = changed;
            view.UpdateCaption();
        } else {
            main.history.Clear();
        }
    }
    view.MakeAddDefault(view.CurrentTabIndex());
    view.UpdateCommandState();
}

} // namespace

void StartBrowse(Main& main, bool import) {
    try {
        if (!import && !AskToSaveChanges(main, OpenFilter))
            return;
        const std::string previous = main.CurrentFile;
        const std::string previousTitle = main.CurrentFileTitle;
        const std::string path = BrowseForFile(main.svc.prompter, main.svc.dialogs, main.svc.files,
                                               OpenFilter, main.CurrentFile);
        if (path.empty() || path == previous)
            return;
        ReadNamedFile(main, path, main.svc.dialogs.FileTitle(), import, previous, previousTitle);
    } catch (const RuntimeError&) {
        // An error that reaches Open or Import ends the command.
    }
}

void OpenNamedFile(Main& main, const std::string& path, bool import) {
    const std::string file = main.CurrentFile;
    const std::string title = main.CurrentFileTitle;
    try {
        if (!import && !AskToSaveChanges(main, OpenFilter))
            return;
        ReadNamedFile(main, path, FileNamePart(path), import, main.CurrentFile,
                      main.CurrentFileTitle);
    } catch (const RuntimeError&) {
    }
    if (import) {
        main.CurrentFile = file;
        main.CurrentFileTitle = title;
        main.svc.view.UpdateCaption();
    }
}

void ImportFile(Main& main) {
    const std::string file = main.CurrentFile;
    const std::string title = main.CurrentFileTitle;
    StartBrowse(main, true);
    main.CurrentFile = file;
    main.CurrentFileTitle = title;
    main.svc.view.UpdateCaption();
}

void NewDocument(Main& main) {
    try {
        if (!AskToSaveChanges(main, NewFilter))
            return;
        main.CurrentFile.clear();
        main.CurrentFileTitle = "Unnamed";
        main.FileEncoding = LocaleEncoding();
        // The new document comes from no file: no question about one.
        main.Disk = {};
        main.PartialLine = 0;
        main.PartialText.clear();
        for (const int page : {AliasList, ShellList})
            main.svc.view.ChangeRows(page,
                                     [&] { main.Lists[static_cast<std::size_t>(page)].Clear(); });
        main.FileChanged = 0;
        main.history.Clear();
        main.svc.view.UpdateCaption();
    } catch (const RuntimeError&) {
    }
}

bool StartApply(Main& main) {
    DocumentView& view = main.svc.view;
    bool cancel = false;
    std::string path;
    std::string title;
    bool saveAs = false;
    bool done = false;
    const Step steps[] = {
        [&] {
            if (main.CurrentFile.empty() && main.FileChanged == 0) {
                view.DisableApply();
                done = true;
                return;
            }
            path = main.CurrentFile;
            title = main.CurrentFileTitle;
            saveAs = path.empty();
            if (saveAs || main.FileChanged <= 0 || !view.ConfirmChecked() ||
                !FileExists(main.svc.files, path))
                return;
            const Answer answer = main.svc.prompter.Show(MessageBox{
                path + "\r\n\r\n这个配置文件已经存在. 你想覆盖它吗?", Buttons::YesNoCancel,
                Icon::Exclamation, "覆盖" + Blanks(8) + main.CurrentFileTitle + "?", 2});
            if (answer == Answer::No) {
                saveAs = true;
            } else if (answer != Answer::Yes) {
                cancel = true;
                done = true;
            }
        },
        [&] {
            if (done || !saveAs)
                return;
            path = AskSaveFileName(main, SaveAsFilter, "");
            if (path.empty()) {
                cancel = true;
                done = true;
                return;
            }
            title = main.svc.dialogs.FileTitle();
        },
        [&] {
            if (done)
                return;
            // A save that did not complete counts as cancelled: OK must not
            // end the program over unsaved changes.
            if (!SavePgpFile(main, path, title, false))
                cancel = true;
        },
    };
    ReactionTable table;
    table.settle = EndWhenCancelled;
    table.byCode[Code::Retry] = {Action::RetryOperation, nullptr};
    table.byCode[Code::Ignore] = {Action::RunStepAgain, nullptr};
    table.byCode[Code::GiveUp] = {Action::End, nullptr};
    table.byCode[Code::Unknown] = {Action::NextStep, ShowDetails()};
    RunSteps(main.svc.prompter, steps, table);
    return cancel;
}

void SaveDocument(Main& main) {
    main.FileChanged = 1;
    StartApply(main);
}

void StartCancel(Main& main) {
    if (main.FileChanged <= 0) {
        main.svc.view.Unload();
        return;
    }
    const Answer answer = main.svc.prompter.Show(
        MessageBox{"你改变了这个配置文件. 你想保存这些改变吗?", Buttons::YesNoCancel,
                   Icon::Exclamation, "Save changes to " + main.CurrentFileTitle + "?", 1});
    if (answer == Answer::No) {
        main.svc.view.Unload();
    } else if (answer == Answer::Yes) {
        StartApply(main);
    }
}

void ApplyAndLeave(Main& main) {
    if (StartApply(main))
        StartCancel(main);
    else
        main.svc.view.Unload(); // the confirm option is stored here too
}

std::string FileStatus(const Main& main) {
    if (main.CurrentFile.empty())
        return main.CurrentFileTitle;
    std::string status = main.CurrentFile + "    " + main.FileEncoding.charset;
    if (main.FileEncoding.byteOrderMark)
        status += " (BOM)";
    if (!main.FileLineEnds.empty())
        status += ", " + main.FileLineEnds;
    if (main.PartialLine > 0)
        status += "    文件没有全部读入: 停在第 " + std::to_string(main.PartialLine) + " 行";
    return status;
}

} // namespace nm
