#include "core/Problems.h"

#include "host/Unattended.h"
#include "host/Utf8.h"

#include <ctime>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace nm {

namespace {

// The findings that speak of an entry the lists show. The others are about
// the file as a whole (its line ends), a line the editor drops or leaves out
// of its lists (control-first, non-ascii-first, unnamed-alias), a row the
// duplicate pass removes, or the line where a read stopped: none has a row.
bool AboutRow(std::string_view code) {
    static const std::unordered_set<std::string_view> codes = {
        "indented-semicolon", "placeholder-name", "placeholder-command", "command-cleaned",
        "shell-rest",         "duplicate-marked", "dashes-name",         "unknown-command",
        "name-hides-command", "shell-flags"};
    return codes.contains(code);
}

struct RowRef {
    int page;
    int key;
};

// The rows of this read by the line they came from: a line makes one row at most.
std::unordered_map<int, RowRef> RowsByLine(const Main& document, const AddedMark& firstAdded) {
    std::unordered_map<int, RowRef> rows;
    for (const int page : {AliasList, ShellList}) {
        const auto p = static_cast<std::size_t>(page);
        const EntryTable& table = document.Lists[p];
        rows.reserve(rows.size() + table.Count());
        for (std::size_t i = 0; i < table.Count(); ++i) {
            const Row& row = table.At(i);
            if (row.line > 0 && row.added >= firstAdded[p])
                rows.insert_or_assign(row.line, RowRef{page, row.key});
        }
    }
    return rows;
}

std::string MinuteText(const std::tm& when) {
    char text[32];
    const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &when);
    return std::string(text, n);
}

} // namespace

std::string LevelText(Severity level) {
    switch (level) {
    case Severity::Error:
        return "错误";
    case Severity::Warning:
        return "警告";
    case Severity::Note:
        break;
    }
    return "注意";
}

AddedMark NextAdded(const Main& document) {
    return {document.Lists[AliasList].NextAdded(), document.Lists[ShellList].NextAdded()};
}

CheckOptions CatalogueCheck(const std::vector<std::string>& names) {
    CheckOptions options;
    if (names.empty())
        return options;
    // Looked up at once: a large file asks about every alias twice.
    auto known = std::make_shared<std::unordered_set<std::string>>();
    for (const std::string& name : names)
        known->insert(LowerCase(name));
    options.isKnownCommand = [known](std::string_view command) {
        return known->contains(LowerCase(command));
    };
    return options;
}

ProblemReport CheckOpenedFile(const Main& document, const std::string& path,
                              const AddedMark& firstAdded, const CheckOptions& options,
                              Clock& clock) {
    // The file as the first of an editor run, as pgptool checks it; the
    // findings say what the editor's boxes would.
    // The fresh document goes before the report is made from its findings,
    // and the panel needs no fields: a large file is not held twice.
    CheckReport checked = [&] {
        SilentPrompter prompter;
        NoFileDialogs dialogs;
        NoHostLink host;
        QuietView view(false);
        Main fresh(Services{prompter, dialogs, host, clock, view, document.svc.files});
        CheckOptions withoutFields = options;
        withoutFields.fields = false;
        return CheckPgpFile(fresh, path, withoutFields);
    }();

    ProblemReport report{path, MinuteText(clock.Now()), {}, {}};
    if (!checked.readable) {
        report.unreadable = checked.unreadable.empty() ? "unreadable" : checked.unreadable;
        return report;
    }
    const std::unordered_map<int, RowRef> rows = RowsByLine(document, firstAdded);
    report.problems.reserve(checked.findings.size());
    for (Finding& finding : checked.findings) {
        if (finding.code == "encoding")
            continue;
        Problem& problem = report.problems.emplace_back(Problem{
            finding.level, finding.line, std::move(finding.message), std::move(finding.code)});
        if (!AboutRow(problem.code))
            continue;
        if (const auto row = rows.find(finding.line); row != rows.end()) {
            problem.page = row->second.page;
            problem.key = row->second.key;
        }
    }
    return report;
}

} // namespace nm
