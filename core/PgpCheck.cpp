#include "core/PgpCheck.h"

#include "core/Document.h"
#include "core/Duplicates.h"
#include "core/PgpReader.h"
#include "host/RuntimeError.h"
#include "host/StrOps.h"
#include "host/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace nm {

namespace {

// Characters of the file's text quoted in a message; the fields hold it whole.
constexpr std::size_t QuoteLimit = 60;

// Text in double quotes, with its control characters made visible, so that a
// finding stays on one line of output.
std::string Quote(std::string_view text) {
    const bool cut = text.size() > QuoteLimit && CharCount(text) > QuoteLimit;
    if (cut)
        text = CharLeft(text, QuoteLimit);
    std::string out;
    out.reserve(text.size() + 8);
    out += '"';
    std::size_t plain = 0; // where the run of characters taken as they are begins
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto code = static_cast<unsigned char>(c);
        if (c != '"' && c != '\\' && code >= 32 && code != 127)
            continue;
        out.append(text.substr(plain, i - plain));
        plain = i + 1;
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\t') {
            out += "\\t";
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", code);
            out += escape;
        }
    }
    out.append(text.substr(plain));
    out += cut ? "\"..." : "\"";
    return out;
}

// A placeholder in full while it is short.
std::string QuotePlaceholder(std::string_view placeholder) {
    if (placeholder.size() <= 12)
        return Quote(placeholder);
    return Quote(placeholder.substr(0, 1)) + " repeated " + std::to_string(placeholder.size()) +
           " times";
}

FindingField Text(std::string name, std::string_view value) {
    return {std::move(name), std::string(value)};
}

FindingField Number(std::string name, int value) {
    return {std::move(name), value};
}

const char* ListWord(int list) {
    return list == AliasList ? "alias" : "shell command";
}

const char* EndName(LineEnd end) {
    switch (end) {
    case LineEnd::CrLf:
        return "CR LF";
    case LineEnd::Cr:
        return "CR";
    case LineEnd::Lf:
        return "LF";
    case LineEnd::None:
        break;
    }
    return "none";
}

struct AliasLine {
    int number;
    std::string name;
    std::string command;
    std::string cleaned;
    Placeholder placeholder;
};

struct Failure {
    int number;
    std::string text;
    ReadFailure why;
};

struct Settlement {
    int list;
    int line; // of the row settled
    int nextLine;
    bool removed;
    std::string name;
    std::string loserCommand;
    std::string nextCommand;
};

// What the reader and the duplicate pass report, kept until the read is over.
class Recorder final : public ReadObserver, public DuplicateObserver {
public:
    std::optional<std::string> unreadable;
    std::vector<Finding> lineFindings;
    std::vector<AliasLine> aliases;
    std::optional<Failure> failure;
    std::vector<Settlement> settlements;

    struct EndCount {
        int count = 0;
        int firstLine = 0;
    };
    EndCount ends[3]; // CR LF, CR, LF
    LineEnd firstEnd = LineEnd::None;

    void Unreadable(const RuntimeError& error) override {
        if (!unreadable)
            unreadable = error.Description() + " (error " + std::to_string(error.Number()) + ")";
    }

    void Line(int number, std::string_view text, LineEnd end, LineKind kind) override {
        if (number == 1) // the bytes were read, perhaps on a retry: begin again
            *this = Recorder();
        if (end != LineEnd::None) {
            EndCount& count = ends[static_cast<int>(end) - 1];
            if (count.count++ == 0)
                count.firstLine = number;
            if (firstEnd == LineEnd::None)
                firstEnd = end;
        }
        if (kind == LineKind::Control)
            Control(number, text);
        else if (kind == LineKind::NonAscii)
            Warn(number, "non-ascii-first",
                 "the line begins with a character outside ASCII, which the reader takes for a "
                 "control character, so the editor drops the line without a word: " +
                     Quote(text),
                 text);
        else if (kind == LineKind::Entry && text.front() == ' ' && TrimSpaces(text).front() == ';')
            Warn(number, "indented-semicolon",
                 "the \";\" follows blanks, so the line is an entry, not a comment (a comment "
                 "starts in the first column): " +
                     Quote(text),
                 text);
    }

    void Alias(int number, const AliasRead& alias) override {
        aliases.push_back({number, std::string(alias.name), std::string(alias.command),
                           std::string(alias.cleaned), alias.placeholder});
    }

    void Failed(int number, std::string_view text, ReadFailure why) override {
        failure = Failure{number, std::string(text), why};
    }

    void Settled(int list, const Row& loser, const Row& next, bool removed) override {
        settlements.push_back({list, loser.line, next.line, removed, loser.text.Str(),
                               loser.sub[0].Str(), next.sub[0].Str()});
    }

private:
    void Warn(int number, std::string code, std::string message, std::string_view text) {
        lineFindings.push_back(
            {number, Severity::Warning, std::move(code), std::move(message), {Text("text", text)}});
    }

    // A line that holds nothing but blanks, control characters and perhaps a
    // comment loses nothing by being dropped.
    void Control(int number, std::string_view text) {
        const auto visible = std::find_if(text.begin(), text.end(), [](char c) {
            return c != ' ' && static_cast<unsigned char>(c) >= 32;
        });
        if (visible == text.end() || *visible == ';')
            return;
        std::string what = "a tab";
        if (text.front() != '\t') {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X",
                          static_cast<unsigned>(static_cast<unsigned char>(text.front())));
            what = std::string("the control character ") + code;
        }
        Warn(number, "control-first",
             "the line begins with " + what +
                 ", so the editor drops it without a word: " + Quote(text),
             text);
    }
};

std::string StopsHere() {
    return std::string(": the editor stops reading here and shows \"") + UnreadablePgpMessage +
           "\"; the entries from this line on will be missing";
}

Finding FailureFinding(const Failure& failure) {
    Finding finding{failure.number, Severity::Error, {}, {}, {Text("text", failure.text)}};
    switch (failure.why) {
    case ReadFailure::ShellCommas: {
        const auto commas =
            static_cast<int>(std::count(failure.text.begin(), failure.text.end(), ','));
        finding.code = "shell-commas";
        finding.message = "the line has " + std::to_string(commas) +
                          " commas, but a shell command needs 4" + StopsHere() + ": " +
                          Quote(failure.text);
        finding.fields.push_back(Number("commas", commas));
        break;
    }
    case ReadFailure::EmptyCommand: {
        const std::string_view name =
            std::string_view(failure.text).substr(0, failure.text.find(','));
        finding.code = "empty-command";
        finding.message = "the alias " + Quote(name) +
                          " has nothing but blanks after its comma, and an alias needs a command" +
                          StopsHere();
        finding.fields.push_back(Text("name", name));
        break;
    }
    case ReadFailure::TooManyLines:
        finding.code = "too-many-lines";
        finding.message =
            "this is entry line 32768, one more than the editor can count" + StopsHere();
        break;
    case ReadFailure::PlaceholderLimit:
        finding.code = "placeholder-limit";
        finding.message = "the line needs a placeholder, but the editor has made 32767 in this "
                          "run, as many as it can count" +
                          StopsHere();
        break;
    }
    return finding;
}

class Checker {
public:
    Checker(Main& main, const CheckOptions& options, const Recorder& recorded, CheckReport& report)
        : main_(main), options_(options), rec_(recorded), out_(report.findings) {}

    void Notes() {
        const TextEncoding& encoding = main_.FileEncoding;
        std::string message;
        if (encoding.IsUtf8())
            message =
                encoding.byteOrderMark ? "read as UTF-8 with a byte-order mark" : "read as UTF-8";
        else if (encoding.charset == LegacyCharset())
            message =
                "the file is not valid UTF-8; read in the legacy code page " + encoding.charset;
        else
            message = "the file is neither valid UTF-8 nor valid " + LegacyCharset() +
                      "; read byte for byte as " + encoding.charset;
        Add(1, Severity::Note, "encoding", message + "; a save writes it back the same way",
            {Text("charset", encoding.charset), {"byteOrderMark", encoding.byteOrderMark}});

        int kinds = 0;
        std::string counts;
        int firstOther = 0;
        LineEnd other = LineEnd::None;
        for (const LineEnd end : {LineEnd::CrLf, LineEnd::Cr, LineEnd::Lf}) {
            const Recorder::EndCount& count = rec_.ends[static_cast<int>(end) - 1];
            if (count.count == 0)
                continue;
            ++kinds;
            counts +=
                (counts.empty() ? "" : ", ") + std::to_string(count.count) + " " + EndName(end);
            if (end != rec_.firstEnd && (firstOther == 0 || count.firstLine < firstOther)) {
                firstOther = count.firstLine;
                other = end;
            }
        }
        if (kinds > 1)
            Add(firstOther, Severity::Note, "mixed-line-ends",
                "the file mixes line ends (" + counts + "), and this is the first line ending in " +
                    EndName(other) +
                    "; the editor ends a line at each of them, and a save writes CR LF throughout",
                {Text("lineEnd", EndName(other)), Text("firstLineEnd", EndName(rec_.firstEnd))});
    }

    void ReadFindings() {
        const int last = rec_.failure ? rec_.failure->number : -1;
        for (const Finding& finding : rec_.lineFindings)
            if (last < 0 || finding.line <= last)
                out_.push_back(finding);
        for (const AliasLine& alias : rec_.aliases) {
            AliasFindings(alias);
            if (alias.placeholder == Placeholder::Command)
                placeholderCommands_.insert(alias.number);
        }
        for (std::size_t i = 0; i < main_.ShellRest.size(); ++i) {
            const std::string& rest = main_.ShellRest[i];
            if (!TrimSpaces(rest).empty())
                Add(main_.ShellLines[i], Severity::Warning, "shell-rest",
                    "the text after the shell command's fourth comma, " + Quote(rest) +
                        ", is read but never shown or written: a save drops it",
                    {Text("name", main_.ShellNames[i]), Text("rest", rest)});
        }
        if (rec_.failure)
            out_.push_back(FailureFinding(*rec_.failure));
    }

    void RowFindings() {
        Duplicates();
        for (const int list : {AliasList, ShellList}) {
            const EntryTable& table = main_.Lists[static_cast<std::size_t>(list)];
            for (const std::size_t position : table.NameOrder()) {
                const Row& row = table.At(position);
                const int line = row.line;
                if (row.text == MarkedName) {
                    if (!marked_.contains(Key(list, line)))
                        Add(line, Severity::Warning, "dashes-name",
                            std::string("the name \"---\" marks a row that lost to a duplicate: "
                                        "the editor shows this ") +
                                ListWord(list) + " but never writes it",
                            {Text("name", row.text)});
                    continue;
                }
                if (list == AliasList)
                    Catalogue(row, line);
                else
                    Flags(row, line);
            }
        }
    }

private:
    void Add(int line, Severity level, std::string code, std::string message,
             std::vector<FindingField> fields) {
        if (!options_.fields)
            fields = {}; // and its memory with them
        out_.push_back({line, level, std::move(code), std::move(message), std::move(fields)});
    }

    void AliasFindings(const AliasLine& alias) {
        if (alias.placeholder == Placeholder::Name)
            Add(alias.number, Severity::Warning, "placeholder-name",
                "the line has no comma, so the editor makes it an alias with the placeholder "
                "name " +
                    QuotePlaceholder(alias.name) + " and the whole line as its command " +
                    Quote(alias.cleaned),
                {Text("name", alias.name), Text("command", alias.cleaned)});
        else if (alias.placeholder == Placeholder::Command)
            Add(alias.number, Severity::Warning, "placeholder-command",
                "the line's only comma ends it, so the editor makes it an alias named " +
                    Quote(alias.name) + ", comma included, with the placeholder command " +
                    QuotePlaceholder(alias.cleaned),
                {Text("name", alias.name), Text("command", alias.cleaned)});
        // Blanks and one "*" before the command are the file's own layout;
        // anything else the cleaning takes off changes what the user wrote.
        std::string_view written = TrimSpaces(alias.command);
        if (written.size() > 1 && written.front() == '*')
            written.remove_prefix(1);
        if (written != alias.cleaned)
            Add(alias.number, Severity::Warning, "command-cleaned",
                "the alias command " + Quote(TrimSpaces(alias.command)) + " is read as " +
                    Quote(alias.cleaned) +
                    ": the editor removes leading characters that cannot begin a command",
                {Text("name", alias.name), Text("command", TrimSpaces(alias.command)),
                 Text("cleaned", alias.cleaned)});
        if (alias.name.empty())
            Add(alias.number, Severity::Warning, "unnamed-alias",
                "the line begins with its comma; the editor leaves an alias without a name out "
                "of its list, so a save loses it",
                {Text("command", alias.cleaned)});
        else if (alias.name == MarkedName)
            Add(alias.number, Severity::Warning, "unnamed-alias",
                "the editor leaves an alias named \"---\" out of its list (the name marks a row "
                "that lost to a duplicate), so a save loses it",
                {Text("name", alias.name), Text("command", alias.cleaned)});
    }

    // A row of the checked file, by its list and line: a line makes one row at most.
    static std::uint64_t Key(int list, int line) {
        return (static_cast<std::uint64_t>(line) << 1) | static_cast<std::uint64_t>(list);
    }

    void Duplicates() {
        // The row that wins in the end is the last of the chain of its name.
        // The pass reports a chain in name order, so walking it backwards
        // meets each row's successor first.
        std::unordered_map<std::uint64_t, int> keptOf;
        for (auto s = rec_.settlements.rbegin(); s != rec_.settlements.rend(); ++s) {
            const auto next = keptOf.find(Key(s->list, s->nextLine));
            keptOf[Key(s->list, s->line)] = next == keptOf.end() ? s->nextLine : next->second;
            if (!s->removed)
                marked_.insert(Key(s->list, s->line));
        }
        for (const Settlement& s : rec_.settlements) {
            const int line = s.line;
            const int nextLine = s.nextLine;
            const int keptLine = keptOf[Key(s.list, s.line)];
            std::string message = Join(ListWord(s.list), " ", Quote(s.name),
                                       " is defined again on line ", std::to_string(nextLine));
            if (s.removed)
                message += Join(" with the same command ", Quote(s.loserCommand),
                                ": the duplicate pass removes this row");
            else
                message += Join(" with another command (", Quote(s.nextCommand), " there, ",
                                Quote(s.loserCommand),
                                " here): the duplicate pass renames this row \"---\", so it is "
                                "not written");
            message += Join("; the definition on line ", std::to_string(keptLine), " is kept");
            Add(line, Severity::Warning, s.removed ? "duplicate-removed" : "duplicate-marked",
                std::move(message),
                {Text("name", s.name), Text("command", s.loserCommand),
                 Number("otherLine", nextLine), Text("otherCommand", s.nextCommand),
                 Number("keptLine", keptLine)});
        }
    }

    void Catalogue(const Row& row, int line) {
        if (!options_.isKnownCommand)
            return;
        const std::string_view command = row.sub[0];
        if (!placeholderCommands_.contains(line) && !options_.isKnownCommand(command))
            Add(line, Severity::Warning, "unknown-command",
                Join("the alias ", Quote(row.text), " runs ", Quote(command),
                     ", which is not in the command catalogue"),
                {Text("name", row.text), Text("command", command)});
        if (options_.isKnownCommand(row.text) && CompareNoCase(row.text, command) != 0)
            Add(line, Severity::Warning, "name-hides-command",
                "the alias name " + Quote(row.text) +
                    " is itself a catalogue command: typing it runs " + Quote(command) +
                    " instead of that command",
                {Text("name", row.text), Text("command", command)});
    }

    void Flags(const Row& row, int line) {
        const std::string_view flags = row.sub[1];
        for (int n = 0; n <= 15; ++n)
            if (flags == std::to_string(n))
                return;
        Add(line, Severity::Warning, "shell-flags",
            "the shell command " + Quote(row.text) + " has the flags " + Quote(flags) +
                "; flags are a number from \"0\" to \"15\"",
            {Text("name", row.text), Text("flags", flags)});
    }

    Main& main_;
    const CheckOptions& options_;
    const Recorder& rec_;
    std::vector<Finding>& out_;
    std::unordered_set<std::uint64_t> marked_;    // Key of each row renamed "---" by the pass
    std::unordered_set<int> placeholderCommands_; // lines whose command is a placeholder
};

} // namespace

int CheckReport::Count(Severity level) const {
    return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                          [level](const Finding& f) { return f.level == level; }));
}

CheckReport CheckPgpFile(Main& main, const std::string& path, const CheckOptions& options) {
    CheckReport report;
    Recorder recorder;
    if (OpenPgpFile(main, path, false, &recorder, &recorder) == ReadResult::Unread) {
        report.readable = false;
        report.unreadable = recorder.unreadable.value_or(std::string());
        return report;
    }
    report.aliases = main.AliasUpper + 1;
    report.shells = main.ShellUpper + 1;
    Checker checker(main, options, recorder, report);
    checker.Notes();
    checker.ReadFindings();
    checker.RowFindings();
    // In line order, findings of one line in the order they were made: the
    // sort moves pairs of numbers, and each finding moves once.
    std::vector<std::pair<int, std::size_t>> order;
    order.reserve(report.findings.size());
    for (std::size_t i = 0; i < report.findings.size(); ++i)
        order.emplace_back(report.findings[i].line, i);
    std::sort(order.begin(), order.end());
    std::vector<Finding> sorted;
    sorted.reserve(order.size());
    for (const auto& [line, at] : order)
        sorted.push_back(std::move(report.findings[at]));
    report.findings = std::move(sorted);
    return report;
}

} // namespace nm
