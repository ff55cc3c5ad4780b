#include "tests/support/Doubles.h"

#include "core/Document.h"
#include "host/Paths.h"
#include "host/RuntimeError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace nm::test {

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(NativePath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The doubles answer with what the test queued, in order, while it lasts.
template <typename T> std::optional<T> Next(std::deque<T>& queued) {
    if (queued.empty())
        return std::nullopt;
    std::optional<T> next(std::move(queued.front()));
    queued.pop_front();
    return next;
}

} // namespace

Answer ScriptedPrompter::Show(const MessageBox& box) {
    shown.push_back(box);
    const Buttons b = box.buttons;
    return Next(answers).value_or(b == Buttons::AbortRetryIgnore                     ? Answer::Abort
                                  : b == Buttons::YesNo || b == Buttons::YesNoCancel ? Answer::Yes
                                  : b == Buttons::RetryCancel                        ? Answer::Retry
                                                                                     : Answer::OK);
}

std::optional<std::string> ScriptedFileDialogs::Next() {
    const std::optional<std::string> pick = test::Next(picks).value_or(std::nullopt);
    if (pick)
        lastTitle = std::filesystem::path(*pick).filename().string();
    return pick;
}

void RecordingPrinter::PrintLine(const std::string& text) {
    if (failLineOnce-- == 0)
        throw RuntimeError(Err::DeviceIo);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        calls.push_back("L:" + text.substr(start, end - start));
    calls.push_back("L:" + text.substr(start));
}

std::vector<int> RecordingPrinter::Pages() const {
    const std::string mark = ", 页    ";
    std::vector<int> pages;
    for (const auto& call : calls)
        if (const auto at = call.find(mark); at != std::string::npos)
            pages.push_back(std::stoi(call.substr(at + mark.size())));
    return pages;
}

EntryDialog EntryScript::Dialog() {
    return [this](const EntryCheck& check, const EntryFields& start) {
        shown.push_back(start);
        const OfferCommand offer = [this](const std::string& command) {
            offered.push_back(command);
        };
        EntryAnswer answer{EntryOutcome::Stay, start};
        while (answer.outcome == EntryOutcome::Stay && !steps.empty()) {
            const std::optional<EntryFields> step = *Next(steps);
            if (!step)
                answer = EntryCancel(check, answer.fields);
            else if (check.page == AliasList)
                answer = AliasOk(check, *step, offer);
            else
                answer = ShellOk(check, *step);
            answers.push_back(answer);
        }
        EXPECT_NE(answer.outcome, EntryOutcome::Stay) << "the dialog was left open";
        return answer;
    };
}

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    root_ = std::filesystem::temp_directory_path() /
            ("nm-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(root_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(root_, ec);
}

std::string TempDir::Path(const std::string& name) const {
    return PathText(root_ / NativePath(name));
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
    const std::string path = Path(name);
    std::ofstream(NativePath(path), std::ios::binary) << bytes;
    return path;
}

std::string TempDir::Read(const std::string& name) const {
    return ReadFile(Path(name));
}

bool TempDir::Exists(const std::string& name) const {
    return std::filesystem::exists(std::filesystem::symlink_status(root_ / NativePath(name)));
}

std::vector<std::string> TempDir::Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(root_))
        names.push_back(PathText(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

LoadedDocument::LoadedDocument(const std::string& text) : path(dir.Write("vtrm.pgp", text)) {
    StartUp(h.main, path);
}

std::string DataPath(const std::string& name) {
    return std::string(NM_TEST_DATA) + "/" + name;
}

std::string ReadData(const std::string& name) {
    return ReadFile(DataPath(name));
}

std::vector<std::string> RowTexts(const Main& main, int list) {
    const EntryTable& table = main.Lists[static_cast<std::size_t>(list)];
    std::vector<std::string> rows;
    for (const std::size_t position : table.NameOrder()) {
        const Row& row = table.At(position);
        std::string text = row.text + "|" + row.sub[0];
        if (list == ShellList)
            text += "|" + row.sub[1] + "|" + row.sub[2];
        rows.push_back(text);
    }
    return rows;
}

} // namespace nm::test
