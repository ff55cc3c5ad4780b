#include "tools/pgptool/CheckCommand.h"

#include "catalog/CommandCatalogue.h"
#include "core/Check.h"
#include "core/Main.h"
#include "host/Clock.h"
#include "host/FileIo.h"
#include "host/HostLink.h"
#include "host/Locator.h"
#include "host/Registry.h"
#include "host/RuntimeError.h"
#include "host/Text.h"
#include "tools/pgptool/ConsoleServices.h"

#include <cstdio>
#include <optional>
#include <string>
#include <unordered_set>

namespace nm {

namespace {

constexpr const char* CheckUsage =
    "usage: pgptool check [--catalogue FILE] [--json] [--strict] FILE...\n";

struct CheckArgs {
    std::vector<std::string> files;
    std::string catalogue;
    bool json = false;
    bool strict = false;
};

int CheckUsageError(const std::string& why) {
    std::fprintf(stderr, "pgptool: %s\n%s", why.c_str(), CheckUsage);
    return 2;
}

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
    for (const Finding& f : report.findings)
        out += checked.file + ":" + std::to_string(f.line) + ": " + LevelName(f.level) + ": " +
               f.message + " [" + f.code + "]\n";
    out += checked.file + ": " + Counted(report.aliases, "alias", "aliases") + " and " +
           Counted(report.shells, "shell command") + " read; " +
           Counted(report.Count(Severity::Error), "error") + ", " +
           Counted(report.Count(Severity::Warning), "warning") + ", " +
           Counted(report.Count(Severity::Note), "note") + "\n";
    return out;
}

std::string JsonValue(const FindingField& field) {
    if (const auto* text = std::get_if<std::string>(&field.value))
        return JsonString(*text);
    if (const auto* number = std::get_if<int>(&field.value))
        return std::to_string(*number);
    return std::get<bool>(field.value) ? "true" : "false";
}

std::string JsonForm(const std::vector<Checked>& all) {
    std::string out = "{\"files\": [";
    for (std::size_t i = 0; i < all.size(); ++i) {
        const std::string file = JsonString(all[i].file);
        const CheckReport& report = all[i].report;
        out += i ? ",\n  {" : "\n  {";
        out += "\"file\": " + file + ", \"readable\": " + (report.readable ? "true" : "false");
        if (!report.readable) {
            out += ", \"reason\": " + JsonString(report.unreadable) + ", \"findings\": []}";
            continue;
        }
        out += ", \"aliases\": " + std::to_string(report.aliases) +
               ", \"shells\": " + std::to_string(report.shells) +
               ", \"errors\": " + std::to_string(report.Count(Severity::Error)) +
               ", \"warnings\": " + std::to_string(report.Count(Severity::Warning)) +
               ", \"notes\": " + std::to_string(report.Count(Severity::Note)) + ", \"findings\": [";
        for (std::size_t k = 0; k < report.findings.size(); ++k) {
            const Finding& f = report.findings[k];
            out += k ? ",\n    {" : "\n    {";
            out += "\"file\": " + file + ", \"line\": " + std::to_string(f.line) +
                   ", \"level\": \"" + LevelName(f.level) + "\", \"code\": " + JsonString(f.code) +
                   ", \"message\": " + JsonString(f.message) + ", \"fields\": {";
            for (std::size_t n = 0; n < f.fields.size(); ++n)
                out +=
                    (n ? ", " : "") + JsonString(f.fields[n].name) + ": " + JsonValue(f.fields[n]);
            out += "}}";
        }
        out += report.findings.empty() ? "]}" : "\n  ]}";
    }
    out += all.empty() ? "]}\n" : "\n]}\n";
    return out;
}

// The catalogue to check against: the named one, or alias.pgc beside the
// program found as `pgptool catalogue` finds it, without a word when it is not
// there. Nothing when there are no names.
std::optional<std::vector<std::string>> LoadCatalogue(const std::string& file) {
    StoredRegistry noRegistry;
    ConsolePrompter console(stderr);
    SilentPrompter quiet;
    const HostContext host{
        file.empty() ? static_cast<Prompter&>(quiet) : console, noRegistry, ProgramFolder(), {}};
    std::vector<std::string> names = LoadCommandCatalogue(host, file);
    if (file.empty() && names.empty())
        return std::nullopt;
    return names;
}

} // namespace

std::string JsonString(std::string_view text) {
    const bool valid = IsValidUtf8(text);
    std::string out = "\"";
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            continue;
        case '\\':
            out += "\\\\";
            continue;
        case '\b':
            out += "\\b";
            continue;
        case '\f':
            out += "\\f";
            continue;
        case '\n':
            out += "\\n";
            continue;
        case '\r':
            out += "\\r";
            continue;
        case '\t':
            out += "\\t";
            continue;
        default:
            break;
        }
        if (code < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", code);
            out += escape;
        } else if (code >= 0x80 && !valid) {
            out += "\\ufffd";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

int RunCheck(const std::vector<std::string>& args) {
    CheckArgs options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--catalogue" || arg == "--catalog") {
            if (++i == args.size())
                return CheckUsageError("--catalogue needs a file");
            options.catalogue = args[i];
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--strict") {
            options.strict = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return CheckUsageError("unknown option '" + arg + "'");
        } else {
            options.files.push_back(arg);
        }
    }
    if (options.files.empty())
        return CheckUsageError("no FILE given");
    if (!options.catalogue.empty() && !FileExists(options.catalogue)) {
        std::fprintf(stderr, "pgptool: %s: no such catalogue file\n", options.catalogue.c_str());
        return 2;
    }

    const std::optional<std::vector<std::string>> catalogue = LoadCatalogue(options.catalogue);
    // The catalogue's names as IsKnownCommand compares them, looked up at once:
    // a large file asks about every alias twice.
    std::unordered_set<std::string> known;
    CheckOptions checkOptions;
    if (catalogue) {
        for (const std::string& name : *catalogue)
            known.insert(LowerCase(name));
        checkOptions.isKnownCommand = [&](std::string_view command) {
            return known.contains(LowerCase(command));
        };
    }
    SilentPrompter prompter; // the findings say what the editor would show
    NoFileDialogs dialogs;
    const auto host = MakeSystemHostLink();
    const auto clock = MakeSystemClock();
    QuietView view(false);

    int status = 0;
    std::vector<Checked> all;
    for (const std::string& file : options.files) {
        // Each file as the first one of an editor run.
        Main main(Services{prompter, dialogs, *host, *clock, view});
        Checked checked{file, CheckPgpFile(main, file, checkOptions)};
        const CheckReport& report = checked.report;
        if (!report.readable) {
            std::fprintf(stderr, "pgptool: %s: cannot read the file: %s\n", file.c_str(),
                         report.unreadable.c_str());
            status = 2;
        } else if (status == 0 && (report.Count(Severity::Error) > 0 ||
                                   (options.strict && report.Count(Severity::Warning) > 0))) {
            status = 1;
        }
        if (!options.json && report.readable) {
            const std::string text = TextForm(checked);
            std::fwrite(text.data(), 1, text.size(), stdout);
        }
        all.push_back(std::move(checked));
    }
    if (options.json) {
        const std::string text = JsonForm(all);
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    return std::fflush(stdout) == 0 ? status : 2;
}

} // namespace nm
