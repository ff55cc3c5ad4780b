// Checking a program-parameters file before it is deployed: every line that
// the reader or the duplicate pass treats specially, as findings with the
// line's number, for `pgptool check`.
#pragma once

#include "core/Main.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace nm {

enum class Severity { Error, Warning, Note };

// A value a finding is about: text from the file, a line number or count, or a flag.
struct FindingField {
    std::string name;
    std::variant<std::string, int, bool> value;
    bool operator==(const FindingField&) const = default;
};

struct Finding {
    int line = 0; // 1-based physical line of the decoded text
    Severity level = Severity::Note;
    std::string code;    // stable, for scripts: "shell-commas", "duplicate-marked", ...
    std::string message; // English; the file's text quoted where it helps
    std::vector<FindingField> fields;
};

struct CheckReport {
    bool readable = true;
    std::string unreadable; // why not: the error's description and number
    int aliases = 0;        // entry lines read, as the load lists hold them
    int shells = 0;
    std::vector<Finding> findings; // in file order
    std::array<int, 3> counts{};   // of the findings of each level, by Severity

    int Count(Severity level) const { return counts[static_cast<std::size_t>(level)]; }
};

struct CheckOptions {
    // Whether the command catalogue knows a command, letter case aside. Empty:
    // there is no catalogue, and no command is checked against one.
    std::function<bool(std::string_view)> isKnownCommand;
    // Whether the findings about entries keep their fields (the text they
    // quote, whole): pgptool's JSON shows them; the editor's panel does not.
    bool fields = true;
};

// Opens `path` into `main` as the editor opens a file (read, rows, duplicate
// pass) and reports what each step did to which line. PlaceholderCount is
// taken as it is: a fresh Main checks the file as the first file of an editor
// run. The editor's own boxes go to main's prompter.
CheckReport CheckPgpFile(Main& main, const std::string& path, const CheckOptions& options = {});

// Takes the findings of a check one at a time, as they are put into words.
class FindingSink {
public:
    virtual ~FindingSink() = default;
    // The report of a file that could be read, its counts complete but
    // without findings, before the first finding.
    virtual void Begin(const CheckReport&) {}
    // Each finding in file order; it lives only for the call.
    virtual void Take(const Finding&) = 0;
};

// The same check, handing the findings to `sink` instead of keeping them: the
// report comes back without findings, and those of a large file are never
// held all at once.
CheckReport CheckPgpFile(Main& main, const std::string& path, const CheckOptions& options,
                         FindingSink& sink);

} // namespace nm
