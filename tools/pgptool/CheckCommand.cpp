#include "tools/pgptool/CheckCommand.h"

#include "catalog/CommandCatalogue.h"
#include "core/Main.h"
#include "core/PgpCheck.h"
#include "host/FileIo.h"
#include "host/Locator.h"
#include "host/MemoryRegistry.h"
#include "host/Unattended.h"
#include "host/Utf8.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <unordered_set>

namespace nm {

namespace {

using Json = nlohmann::ordered_json;

// Texts looked up by a view of them, without a copy.
struct ViewHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        return std::hash<std::string_view>{}(text);
    }
};
using KnownNames = std::unordered_set<std::string, ViewHash, std::equal_to<>>;

std::string_view LevelName(Severity level) {
    switch (level) {
    case Severity::Error:
        return "error";
    case Severity::Warning:
        return "warning";
    case Severity::Note:
        break;
    }
    return "note";
}

std::string Counted(int count, const std::string& word, const std::string& plural = {}) {
    return std::to_string(count) + " " + (count == 1 ? word : plural.empty() ? word + "s" : plural);
}

void AppendNumber(std::string& out, int number) {
    char digits[16];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
}

// The compiler-style form: a line for each finding and one that sums the file
// up, written as the findings come, so that the text of many findings is
// never held whole.
class TextForm final : public FindingSink {
public:
    void Start(const std::string& file) { file_ = &file; }

    void Take(const Finding& f) override {
        char number[16];
        const char* const end = std::to_chars(number, number + sizeof number, f.line).ptr;
        const std::string_view line(number, static_cast<std::size_t>(end - number));
        Put({*file_, ":", line, ": ", LevelName(f.level), ": ", f.message, " [", f.code, "]\n"});
    }

    void Finish(const CheckReport& report) {
        Put({*file_ + ": " + Counted(report.aliases, "alias", "aliases") + " and " +
             Counted(report.shells, "shell command") + " read; " +
             Counted(report.Count(Severity::Error), "error") + ", " +
             Counted(report.Count(Severity::Warning), "warning") + ", " +
             Counted(report.Count(Severity::Note), "note") + "\n"});
        Write();
    }

private:
    // The pieces of a line, gathered in a block that is written when it is full.
    void Put(std::initializer_list<std::string_view> pieces) {
        std::size_t size = 0;
        for (const std::string_view piece : pieces)
            size += piece.size();
        if (used_ + size > Block) {
            Write();
            if (size > Block) {
                for (const std::string_view piece : pieces)
                    std::fwrite(piece.data(), 1, piece.size(), stdout);
                return;
            }
        }
        for (const std::string_view piece : pieces) {
            std::memcpy(block_.get() + used_, piece.data(), piece.size());
            used_ += piece.size();
        }
    }

    void Write() {
        std::fwrite(block_.get(), 1, used_, stdout);
        used_ = 0;
    }

    static constexpr std::size_t Block = 64 * 1024;
    const std::string* file_ = nullptr; // the file being checked
    std::unique_ptr<char[]> block_ = std::make_unique_for_overwrite<char[]>(Block);
    std::size_t used_ = 0;
};

// A text as JSON, in the library's escapes. A text that is not valid UTF-8 (a
// file name in another encoding) gets U+FFFD for each byte outside ASCII.
void AppendJson(std::string& out, std::string_view text) {
    if (IsValidUtf8(text)) {
        out += Json(text).dump();
        return;
    }
    std::string clean;
    for (const char c : text)
        clean += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : "\xEF\xBF\xBD";
    out += Json(clean).dump(-1, ' ', /*ensure_ascii=*/true);
}

// `"key": ` with the separator before it, in an object on one line.
void AppendKey(std::string& out, std::string_view key, bool first = false) {
    if (!first)
        out += ", ";
    AppendJson(out, key);
    out += ": ";
}

// One JSON document for all files: objects stay on one line, the items of an
// array each begin on a line of their own, indented, so that each finding has
// a line. The counts of a file come before its findings, which are written as
// they come; the document goes out whole at the end, after what the check
// says on standard error.
class JsonForm final : public FindingSink {
public:
    JsonForm() : out_("{\"files\": [") {}

    void Start(const std::string& file) { file_ = &file; }

    // A file that could be read, up to its findings.
    void Begin(const CheckReport& report) override {
        Open(true);
        const std::pair<const char*, int> counts[] = {{"aliases", report.aliases},
                                                      {"shells", report.shells},
                                                      {"errors", report.Count(Severity::Error)},
                                                      {"warnings", report.Count(Severity::Warning)},
                                                      {"notes", report.Count(Severity::Note)}};
        for (const auto& [key, count] : counts) {
            AppendKey(out_, key);
            AppendNumber(out_, count);
        }
        AppendKey(out_, "findings");
        out_ += '[';
        findings_ = 0;
    }

    void Take(const Finding& f) override {
        out_ += findings_++ == 0 ? "\n    " : ",\n    ";
        AppendKey(out_ += '{', "file", true);
        AppendJson(out_, *file_);
        AppendKey(out_, "line");
        AppendNumber(out_, f.line);
        AppendKey(out_, "level");
        AppendJson(out_, LevelName(f.level));
        AppendKey(out_, "code");
        AppendJson(out_, f.code);
        AppendKey(out_, "message");
        AppendJson(out_, f.message);
        AppendKey(out_, "fields");
        out_ += '{';
        for (std::size_t i = 0; i < f.fields.size(); ++i) {
            const FindingField& field = f.fields[i];
            AppendKey(out_, field.name, i == 0);
            std::visit(
                [&](const auto& value) {
                    using Value = std::decay_t<decltype(value)>;
                    if constexpr (std::is_same_v<Value, std::string>)
                        AppendJson(out_, value);
                    else if constexpr (std::is_same_v<Value, bool>)
                        out_ += value ? "true" : "false";
                    else
                        AppendNumber(out_, value);
                },
                field.value);
        }
        out_ += "}}";
    }

    // After the findings of a file that could be read.
    void End() { out_ += findings_ == 0 ? "]}" : "\n  ]}"; }

    void Unreadable(const CheckReport& report) {
        Open(false);
        AppendKey(out_, "reason");
        AppendJson(out_, report.unreadable);
        AppendKey(out_, "findings");
        out_ += "[]}";
    }

    void Write() {
        out_ += files_ == 0 ? "]}\n" : "\n]}\n";
        std::fwrite(out_.data(), 1, out_.size(), stdout);
    }

private:
    void Open(bool readable) {
        out_ += files_++ == 0 ? "\n  " : ",\n  ";
        AppendKey(out_ += '{', "file", true);
        AppendJson(out_, *file_);
        AppendKey(out_, "readable");
        out_ += readable ? "true" : "false";
    }

    std::string out_;
    const std::string* file_ = nullptr; // the file being checked
    int files_ = 0;
    int findings_ = 0;
};

// The catalogue to check against: the named one, or the program's and the
// user's own found as `pgptool catalogue` finds them, without a word when it is not
// there. Nothing when there are no names.
std::optional<std::vector<std::string>> LoadCatalogue(FileSystem& files, const std::string& file) {
    MemoryRegistry noRegistry;
    ConsolePrompter console(stderr, "pgptool");
    SilentPrompter quiet;
    const HostContext host{file.empty() ? static_cast<Prompter&>(quiet) : console,
                           noRegistry,
                           ProgramFolder(),
                           {},
                           {},
                           UserCatalogueFile()};
    std::vector<std::string> names = LoadCommandCatalogue(files, host, file);
    if (file.empty() && names.empty())
        return std::nullopt;
    return names;
}

} // namespace

int RunCheck(const CheckArgs& args) {
    SystemFileSystem files;
    if (!args.catalogue.empty() && !FileExists(files, args.catalogue)) {
        std::fprintf(stderr, "pgptool: %s: no such catalogue file\n", args.catalogue.c_str());
        return 2;
    }
    const std::optional<std::vector<std::string>> catalogue = LoadCatalogue(files, args.catalogue);
    // The catalogue's names as IsKnownCommand compares them, looked up at once:
    // a large file asks about every alias twice.
    KnownNames known;
    CheckOptions checkOptions;
    checkOptions.fields = args.json; // only the JSON form shows them
    if (catalogue) {
        for (const std::string& name : *catalogue)
            known.insert(LowerCase(name));
        checkOptions.isKnownCommand = [&](std::string_view command) {
            // Plain ASCII is lower-cased here, without a text of its own.
            char lowered[32];
            if (command.size() > sizeof lowered ||
                !std::all_of(command.begin(), command.end(),
                             [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
                return known.contains(LowerCase(command));
            std::transform(command.begin(), command.end(), lowered, [](char c) {
                return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c;
            });
            return known.contains(std::string_view(lowered, command.size()));
        };
    }
    SilentPrompter prompter; // the findings say what the editor would show
    NoFileDialogs dialogs;
    NoHostLink host;
    FixedClock clock;
    QuietView view(false);

    int status = 0;
    TextForm text;
    JsonForm json;
    for (const std::string& file : args.files) {
        // Each file as the first one of an editor run.
        Main main(Services{prompter, dialogs, host, clock, view, files});
        text.Start(file);
        json.Start(file);
        FindingSink& form = args.json ? static_cast<FindingSink&>(json) : text;
        const CheckReport report = CheckPgpFile(main, file, checkOptions, form);
        if (!report.readable) {
            std::fprintf(stderr, "pgptool: %s: cannot read the file: %s\n", file.c_str(),
                         report.unreadable.c_str());
            status = 2;
        } else if (status == 0 && (report.Count(Severity::Error) > 0 ||
                                   (args.strict && report.Count(Severity::Warning) > 0))) {
            status = 1;
        }
        if (!args.json && report.readable)
            text.Finish(report);
        else if (args.json && report.readable)
            json.End();
        else if (args.json)
            json.Unreadable(report);
    }
    if (args.json)
        json.Write();
    return std::fflush(stdout) == 0 ? status : 2;
}

} // namespace nm
