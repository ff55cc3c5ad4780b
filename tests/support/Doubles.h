// Scripted doubles of the seams: they record what the program shows and asks,
// and answer with what the test queued.
#pragma once

#include "tests/support/FailingFileSystem.h"

#include "core/DocumentView.h"
#include "core/Entries.h"
#include "core/Main.h"
#include "host/Clock.h"
#include "host/FileDialogs.h"
#include "host/HelpViewer.h"
#include "host/HostLink.h"
#include "host/PrinterDevice.h"
#include "host/Prompter.h"
#include "host/RuntimeError.h"
#include "host/SettingsStore.h"
#include "host/Unattended.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace nm::test {

class ScriptedPrompter final : public Prompter {
public:
    // Answers in order; an unscripted box gets its first button.
    std::deque<Answer> answers;
    std::vector<MessageBox> shown;
    int beeps = 0, busyChanges = 0;
    bool busy = false;

    Answer Show(const MessageBox& box) override;
    void Beep() override { ++beeps; }
    void SetBusy(bool on) override { busy = on, ++busyChanges; }
    // The texts of every box shown, in order.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& box : shown)
            texts.push_back(box.text);
        return texts;
    }
};

class ScriptedFileDialogs final : public FileDialogs {
public:
    // kind: "open" or "save".
    struct Call {
        std::string kind, filter, fileName;
    };
    // Picks in order; nullopt is a cancel. An unscripted dialog is cancelled.
    std::deque<std::optional<std::string>> picks;
    std::vector<Call> calls;
    std::string lastTitle;

    std::optional<std::string> ShowOpen(const std::string& filter,
                                        const std::string& fileName) override {
        calls.push_back({"open", filter, fileName});
        return Next();
    }
    std::string ShowSave(const std::string& filter, const std::string& fileName) override {
        calls.push_back({"save", filter, fileName});
        const std::optional<std::string> pick = Next();
        return pick ? *pick : throw RuntimeError(Err::DialogCancelled);
    }
    void ShowPrinterSetup() override { throw RuntimeError(Err::DialogCancelled); }
    std::string FileTitle() const override { return lastTitle; }

private:
    std::optional<std::string> Next();
};

class ScriptedHostLink final : public HostLink {
public:
    int failWith = 429, requests = 0; // failWith 0: the host re-reads its file
    void RequestReinit() override {
        ++requests;
        if (failWith != 0)
            throw RuntimeError(failWith);
    }
};

// Saturday 28 November 2026, 09:14:05: the date line of the golden files.
class FixedClock final : public nm::FixedClock {
public:
    FixedClock() : nm::FixedClock(UtcTime(1795857245)) {}
};

class MemorySettingsStore final : public SettingsStore {
public:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
    std::string GetSetting(const std::string& application, const std::string& section,
                           const std::string& key, const std::string& fallback) override {
        const auto found = values.find({application, section, key});
        return found == values.end() ? fallback : found->second;
    }
    void SaveSetting(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& value) override {
        values[{application, section, key}] = value;
    }
};

class RecordingView final : public DocumentView {
public:
    bool confirm = true;
    int captionUpdates = 0, unloads = 0;
    bool applyDisabled = false;
    std::vector<std::string> results;
    void UpdateCaption() override { ++captionUpdates; }
    void ShowResult(const std::string& text) override { results.push_back(text); }
    void UpdateCommandState() override {}
    bool ConfirmChecked() const override { return confirm; }
    void DisableApply() override { applyDisabled = true; }
    int CurrentTabIndex() const override { return AliasList; } // the first page is shown
    void Unload() override { ++unloads; }
};

// An entry dialog answered as a user would: each step types the fields and
// presses OK (nothing: Cancel), until the entry rules close the dialog.
// Commands offered to the catalogue are recorded.
class EntryScript {
public:
    std::deque<std::optional<EntryFields>> steps;
    std::vector<EntryFields> shown;   // the fields each showing began with
    std::vector<EntryAnswer> answers; // the answer to each step
    std::vector<std::string> offered;
    EntryDialog Dialog();
};

// Every printer call as text: "L:<line>", "B+", "B-", "P" (new page), "E"
// (end of document), "F" (finish), "A" (abandon), "S<size>".
class RecordingPrinter final : public PrinterDevice {
public:
    int copies = 1;
    std::vector<std::string> calls;
    int failLineOnce = -1; // fails the n-th PrintLine once, with error 57
    int Copies() const override { return copies; }
    void SetFontSize(int points) override { calls.push_back("S" + std::to_string(points)); }
    void SetBold(bool bold) override { calls.push_back(bold ? "B+" : "B-"); }
    void PrintLine(const std::string& text) override;
    void NewPage() override { calls.push_back("P"); }
    void EndDocument() override { calls.push_back("E"); }
    void Finish() override { calls.push_back("F"); }
    void Abandon() override { calls.push_back("A"); }

    std::size_t Count(const std::string& call) const {
        return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), call));
    }
    // The page numbers of the headers, in order.
    std::vector<int> Pages() const;
};

class RecordingHelp final : public HelpViewer {
public:
    std::vector<HelpRequest> requests;
    void ShowHelp(const HelpRequest& request) override { requests.push_back(request); }
};

// A fresh Main with its doubles.
struct Harness {
    ScriptedPrompter prompter;
    ScriptedFileDialogs dialogs;
    ScriptedHostLink host;
    FixedClock clock;
    RecordingView view;
    FailingFileSystem files;
    Main main{Services{prompter, dialogs, host, clock, view, files}};
};

// A folder of its own for one test, removed afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path(const std::string& name) const;
    std::string Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;
    // Names of the entries in the folder, sorted.
    std::vector<std::string> Names() const;

private:
    std::filesystem::path root_;
};

// A document loaded at start-up from a host file "vtrm.pgp" that holds
// `text`, in a folder of its own.
struct LoadedDocument {
    explicit LoadedDocument(const std::string& text);
    TempDir dir;
    Harness h;
    std::string path;
};

// A file of tests/data.
std::string DataPath(const std::string& name);
std::string ReadData(const std::string& name);

// The rows of a list in name order: "NAME|COMMAND" or "NAME|COMMAND|FLAGS|PROMPT".
std::vector<std::string> RowTexts(const Main& main, int list);

} // namespace nm::test
