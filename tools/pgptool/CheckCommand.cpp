#include "tools/pgptool/CheckCommand.h"

#include "catalog/CommandCatalogue.h"
#include "core/Main.h"
#include "core/PgpCheck.h"
#include "host/FileIo.h"
#include "host/Locator.h"
#include "host/MemoryRegistry.h"
#include "host/StrOps.h"
#include "host/Unattended.h"
#include "host/Utf8.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <optional>
#include <unordered_set>

namespace nm {

namespace {

using Json = nlohmann::ordered_json;

const char* LevelName(Severity level) {
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

struct Checked {
    std::string file;
    CheckReport report;
};

std::string TextForm(const Checked& checked) {
    const CheckReport& report = checked.report;
    std::string out;
    std::size_t room = 256;
    for (const Finding& f : report.findings)
        room += checked.file.size() + f.message.size() + f.code.size() + 32;
    out.reserve(room);
    for (const Finding& f : report.findings)
        out += Join(checked.file, ":", std::to_string(f.line), ": ", LevelName(f.level), ": ",
                    f.message, " [", f.code, "]\n");
    out += checked.file + ": " + Counted(report.aliases, "alias", "aliases") + " and " +
           Counted(report.shells, "shell command") + " read; " +
           Counted(report.Count(Severity::Error), "error") + ", " +
           Counted(report.Count(Severity::Warning), "warning") + ", " +
           Counted(report.Count(Severity::Note), "note") + "\n";
    return out;
}

Json FileJson(const Checked& checked) {
    const CheckReport& report = checked.report;
    Json file = {{"file", checked.file}, {"readable", report.readable}};
    if (!report.readable) {
        file["reason"] = report.unreadable;
    } else {
        file["aliases"] = report.aliases;
        file["shells"] = report.shells;
        file["errors"] = report.Count(Severity::Error);
        file["warnings"] = report.Count(Severity::Warning);
        file["notes"] = report.Count(Severity::Note);
    }
    file["findings"] = Json::array();
    for (const Finding& f : report.readable ? report.findings : std::vector<Finding>{}) {
        Json fields = Json::object();
        for (const FindingField& field : f.fields)
            std::visit([&](const auto& value) { fields[field.name] = value; }, field.value);
        file["findings"].push_back({{"file", checked.file},
                                    {"line", f.line},
                                    {"level", LevelName(f.level)},
                                    {"code", f.code},
                                    {"message", f.message},
                                    {"fields", fields}});
    }
    return file;
}

// One finding per line: objects stay on one line, the items of an array each
// begin one indented. A text that is not valid UTF-8 (a file name in another
// encoding) gets U+FFFD for each byte outside ASCII.
std::string Layout(const Json& value, int depth = 0) {
    if (value.is_string()) {
        const std::string& text = value.get_ref<const std::string&>();
        if (IsValidUtf8(text))
            return value.dump();
        std::string clean;
        for (const char c : text)
            clean += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : "\xEF\xBF\xBD";
        return Json(clean).dump(-1, ' ', /*ensure_ascii=*/true);
    }
    std::string out;
    if (value.is_object()) {
        for (const auto& [key, item] : value.items())
            out += (out.empty() ? "" : ", ") + Json(key).dump() + ": " + Layout(item, depth);
        return "{" + out + "}";
    }
    if (value.is_array()) {
        const std::string indent(2 * static_cast<std::size_t>(depth), ' ');
        for (const Json& item : value)
            out += (out.empty() ? "\n" : ",\n") + indent + "  " + Layout(item, depth + 1);
        return "[" + out + (out.empty() ? "" : "\n" + indent) + "]";
    }
    return value.dump();
}

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
    std::unordered_set<std::string> known;
    CheckOptions checkOptions;
    checkOptions.fields = args.json; // only the JSON form shows them
    if (catalogue) {
        for (const std::string& name : *catalogue)
            known.insert(LowerCase(name));
        checkOptions.isKnownCommand = [&](std::string_view command) {
            return known.contains(LowerCase(command));
        };
    }
    SilentPrompter prompter; // the findings say what the editor would show
    NoFileDialogs dialogs;
    NoHostLink host;
    FixedClock clock;
    QuietView view(false);

    int status = 0;
    Json reports = Json::array();
    for (const std::string& file : args.files) {
        // Each file as the first one of an editor run.
        Main main(Services{prompter, dialogs, host, clock, view, files});
        const Checked checked{file, CheckPgpFile(main, file, checkOptions)};
        const CheckReport& report = checked.report;
        if (!report.readable) {
            std::fprintf(stderr, "pgptool: %s: cannot read the file: %s\n", file.c_str(),
                         report.unreadable.c_str());
            status = 2;
        } else if (status == 0 && (report.Count(Severity::Error) > 0 ||
                                   (args.strict && report.Count(Severity::Warning) > 0))) {
            status = 1;
        }
        if (args.json) {
            reports.push_back(FileJson(checked));
        } else if (report.readable) {
            const std::string text = TextForm(checked);
            std::fwrite(text.data(), 1, text.size(), stdout);
        }
    }
    if (args.json) {
        const std::string text = Layout(Json{{"files", reports}}) + "\n";
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    return std::fflush(stdout) == 0 ? status : 2;
}

} // namespace nm
