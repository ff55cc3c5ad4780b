#include "core/PgpCheck.h"

#include "core/Document.h"
#include "core/Duplicates.h"
#include "core/PgpReader.h"
#include "host/RuntimeError.h"
#include "host/Utf8.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>

namespace nm {

namespace {

// Characters of the file's text quoted in a message; the fields hold it whole.
constexpr std::size_t QuoteLimit = 60;

// Appends text in double quotes, with its control characters made visible,
// so that a finding stays on one line of output.
void AppendQuoted(std::string& out, std::string_view text) {
    const bool cut = text.size() > QuoteLimit && CharCount(text) > QuoteLimit;
    if (cut)
        text = CharLeft(text, QuoteLimit);
    // The characters taken as they are.
    static constexpr auto Plain = [] {
        std::array<bool, 256> plain{};
        for (int code = 32; code < 256; ++code)
            plain[static_cast<std::size_t>(code)] = code != '"' && code != '\\' && code != 127;
        return plain;
    }();
    const auto plain = [](char c) { return Plain[static_cast<unsigned char>(c)]; };
    out.push_back('"');
    // Runs of characters taken as they are, each followed by one made visible.
    for (auto from = text.begin(); from != text.end();) {
        const auto to = std::find_if_not(from, text.end(), plain);
        out.append(&*from, static_cast<std::size_t>(to - from));
        if (to == text.end())
            break;
        const char c = *to;
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (c == '\t') {
            out.append("\\t", 2);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(c));
            out += escape;
        }
        from = to + 1;
    }
    if (cut)
        out.append("\"...", 4);
    else
        out.push_back('"');
}

// The pieces of a message: text as it is, text of the file in quotes, a
// placeholder (in full while it is short) and numbers.
struct Quoted {
    std::string_view text;
};
struct PlaceholderText {
    std::string_view text;
};

void Put(std::string& out, int number) {
    char digits[16];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
}
void Put(std::string& out, std::string_view text) {
    out += text;
}
template <std::size_t Size> void Put(std::string& out, const char (&text)[Size]) {
    out.append(text, Size - 1);
}
void Put(std::string& out, Quoted quoted) {
    AppendQuoted(out, quoted.text);
}
void Put(std::string& out, PlaceholderText placeholder) {
    const std::string_view text = placeholder.text;
    if (text.size() <= 12) {
        AppendQuoted(out, text);
        return;
    }
    AppendQuoted(out, text.substr(0, 1));
    out += " repeated ";
    Put(out, static_cast<int>(text.size()));
    out += " times";
}

// Appends the pieces to `out`.
template <typename... Pieces> void Say(std::string& out, const Pieces&... pieces) {
    (Put(out, pieces), ...);
}

// The pieces one after another, as a new text.
template <typename... Pieces> std::string Said(const Pieces&... pieces) {
    std::string out;
    Say(out, pieces...);
    return out;
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

// Whether flags are a number from "0" to "15" as the editor writes it.
bool FlagsNumber(std::string_view flags) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (flags.size() == 1)
        return digit(flags[0]);
    return flags.size() == 2 && flags[0] == '1' && flags[1] >= '0' && flags[1] <= '5';
}

// A finding put into words, with its fields when the options keep them.
Finding Made(const CheckOptions& options, int line, Severity level, std::string_view code,
             std::string message, std::vector<FindingField> fields) {
    if (!options.fields)
        fields.clear();
    return {line, level, std::string(code), std::move(message), std::move(fields)};
}

struct Failure {
    int number;
    std::string text;
    ReadFailure why;
};

// Copies of texts that must outlive the rows they came from, packed into
// large blocks: a large file's duplicates would otherwise each hold their own.
class TextStore {
public:
    const char* Keep(std::string_view a, std::string_view b, std::string_view c) {
        const std::size_t size = a.size() + b.size() + c.size();
        if (size > room_) {
            const std::size_t block = std::max<std::size_t>(BlockSize, size);
            blocks_.push_back(std::make_unique_for_overwrite<char[]>(block));
            next_ = blocks_.back().get();
            room_ = block;
        }
        char* const kept = next_;
        for (const std::string_view text : {a, b, c})
            next_ = std::copy(text.begin(), text.end(), next_);
        room_ -= size;
        return kept;
    }

private:
    static constexpr std::size_t BlockSize = 64 * 1024;
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* next_ = nullptr;
    std::size_t room_ = 0;
};

// A row the duplicate pass settled: its name and command and the next row's
// command, as they were before the pass changed the list.
struct Settlement {
    int line; // of the row settled
    int nextLine;
    int keptLine = 0; // of the row of the name that is kept in the end
    std::uint8_t list;
    bool removed;
    const char* texts; // the name, the command and the next row's, one after another
    std::uint32_t sizes[3];

    std::string_view Name() const { return {texts, sizes[0]}; }
    std::string_view Command() const { return {texts + sizes[0], sizes[1]}; }
    std::string_view NextCommand() const { return {texts + sizes[0] + sizes[1], sizes[2]}; }
};

// What the reader and the duplicate pass report, kept until the read is over.
// The findings of a line or an alias are put into words at once (the texts
// they quote are gone after the read); a duplicate keeps only its texts.
class Recorder final : public ReadObserver, public DuplicateObserver {
public:
    explicit Recorder(const CheckOptions& options) : options_(options) {}

    std::optional<std::string> unreadable;
    std::vector<Finding> lineFindings;
    std::vector<Finding> aliasFindings;
    std::vector<int> placeholderCommands; // lines whose alias command is a placeholder, ascending
    std::optional<Failure> failure;
    std::vector<Settlement> settlements;
    int lines = 0;   // the file's lines, as far as they were read
    int entries = 0; // its entry lines

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
            Restart();
        lines = number;
        if (end != LineEnd::None) {
            EndCount& count = ends[static_cast<int>(end) - 1];
            if (count.count++ == 0)
                count.firstLine = number;
            if (firstEnd == LineEnd::None)
                firstEnd = end;
        }
        if (kind == LineKind::Entry)
            ++entries;
        if (kind == LineKind::Control)
            Control(number, text);
        else if (kind == LineKind::NonAscii)
            Warn(number, "non-ascii-first",
                 Said("the line begins with a character outside ASCII, which the reader takes "
                      "for a control character, so the editor drops the line without a word: ",
                      Quoted{text}),
                 text);
        else if (kind == LineKind::Entry && text.front() == ' ' && TrimSpaces(text).front() == ';')
            Warn(number, "indented-semicolon",
                 Said("the \";\" follows blanks, so the line is an entry, not a comment (a "
                      "comment starts in the first column): ",
                      Quoted{text}),
                 text);
    }

    void Alias(int number, const AliasRead& alias) override {
        if (alias.placeholder == Placeholder::Name)
            AliasFinding(number, "placeholder-name",
                         Said("the line has no comma, so the editor makes it an alias with the "
                              "placeholder name ",
                              PlaceholderText{alias.name}, " and the whole line as its command ",
                              Quoted{alias.cleaned}),
                         {Text("name", alias.name), Text("command", alias.cleaned)});
        else if (alias.placeholder == Placeholder::Command) {
            placeholderCommands.push_back(number);
            AliasFinding(number, "placeholder-command",
                         Said("the line's only comma ends it, so the editor makes it an alias "
                              "named ",
                              Quoted{alias.name}, ", comma included, with the placeholder command ",
                              PlaceholderText{alias.cleaned}),
                         {Text("name", alias.name), Text("command", alias.cleaned)});
        }
        // Blanks and one "*" before the command are the file's own layout;
        // anything else the cleaning takes off changes what the user wrote.
        const std::string_view command = TrimSpaces(alias.command);
        std::string_view written = command;
        if (written.size() > 1 && written.front() == '*')
            written.remove_prefix(1);
        if (written != alias.cleaned)
            AliasFinding(number, "command-cleaned",
                         Said("the alias command ", Quoted{command}, " is read as ",
                              Quoted{alias.cleaned},
                              ": the editor removes leading characters that cannot begin a "
                              "command"),
                         {Text("name", alias.name), Text("command", command),
                          Text("cleaned", alias.cleaned)});
        if (alias.name.empty())
            AliasFinding(number, "unnamed-alias",
                         "the line begins with its comma; the editor leaves an alias without a "
                         "name out of its list, so a save loses it",
                         {Text("command", alias.cleaned)});
        else if (alias.name == MarkedName)
            AliasFinding(number, "unnamed-alias",
                         "the editor leaves an alias named \"---\" out of its list (the name marks "
                         "a row that lost to a duplicate), so a save loses it",
                         {Text("name", alias.name), Text("command", alias.cleaned)});
    }

    void Failed(int number, std::string_view text, ReadFailure why) override {
        failure = Failure{number, std::string(text), why};
    }

    void Settled(int list, const Row& loser, const Row& next, bool removed) override {
        if (settlements.empty()) // room for the most there can be, touched only as it fills
            settlements.reserve(static_cast<std::size_t>(entries));
        const std::string_view name = loser.text;
        const std::string_view command = loser.sub[0];
        // A row removed has the next row's command.
        const std::string_view nextCommand = removed ? std::string_view() : next.sub[0];
        const Settlement settled{loser.line,
                                 next.line,
                                 0,
                                 static_cast<std::uint8_t>(list),
                                 removed,
                                 texts_.Keep(name, command, nextCommand),
                                 {static_cast<std::uint32_t>(name.size()),
                                  static_cast<std::uint32_t>(command.size()),
                                  static_cast<std::uint32_t>(nextCommand.size())}};
        settlements.push_back(settled);
    }

private:
    void Restart() {
        unreadable.reset();
        lineFindings.clear();
        aliasFindings.clear();
        placeholderCommands.clear();
        failure.reset();
        settlements.clear();
        lines = 0;
        entries = 0;
        for (EndCount& count : ends)
            count = {};
        firstEnd = LineEnd::None;
    }

    void Warn(int number, std::string_view code, std::string message, std::string_view text) {
        lineFindings.push_back(Made(options_, number, Severity::Warning, code, std::move(message),
                                    {Text("text", text)}));
    }

    void AliasFinding(int number, std::string_view code, std::string message,
                      std::vector<FindingField> fields) {
        aliasFindings.push_back(
            Made(options_, number, Severity::Warning, code, std::move(message), std::move(fields)));
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
             Said("the line begins with ", what,
                  ", so the editor drops it without a word: ", Quoted{text}),
             text);
    }

    const CheckOptions& options_;
    TextStore texts_;
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
        finding.message = Said("the line has ", commas, " commas, but a shell command needs 4",
                               StopsHere(), ": ", Quoted{failure.text});
        finding.fields.push_back(Number("commas", commas));
        break;
    }
    case ReadFailure::EmptyCommand: {
        const std::string_view name =
            std::string_view(failure.text).substr(0, failure.text.find(','));
        finding.code = "empty-command";
        finding.message = Said("the alias ", Quoted{name},
                               " has nothing but blanks after its comma, and an alias needs a "
                               "command",
                               StopsHere());
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

// What a finding is about, before it is put into words: a finding made
// already, or one of the many a large file can have, which is worded only
// when it is handed on.
enum class Kind : std::uint8_t {
    Made,             // at: in the made findings
    Duplicate,        // at: in the settlements
    DashesName,       // at: the row's position in its list
    UnknownCommand,   // at: the alias row's position
    NameHidesCommand, // at: the alias row's position
    ShellFlags,       // at: the shell row's position
};

struct Pending {
    int line;
    Kind kind;
    std::uint8_t list;
    std::uint32_t at;
};

class Checker {
public:
    Checker(Main& main, const CheckOptions& options, Recorder& recorded)
        : main_(main), options_(options), rec_(recorded) {}

    // Every finding of the check, in the order they are made; the line order
    // is Deliver's.
    void Collect() {
        lineMarks_.assign(static_cast<std::size_t>(rec_.lines) + 1, 0);
        Notes();
        ReadFindings();
        Duplicates();
        RowFindings();
    }

    std::size_t Count() const { return pending_.size(); }

    // The findings of each level, by Severity: all but those made already are warnings.
    std::array<int, 3> Counts() const {
        std::array<int, 3> counts{};
        for (const Pending& pending : pending_) {
            const Severity level =
                pending.kind == Kind::Made ? made_[pending.at].level : Severity::Warning;
            ++counts[static_cast<std::size_t>(level)];
        }
        return counts;
    }

    // Hands each finding to `take` in line order, the findings of one line in
    // the order they were made: take(finding, made) may move a made finding;
    // any other lives only for the call.
    template <typename Take> void Deliver(Take&& take) {
        Finding worded;
        for (const std::uint32_t index : LineOrder()) {
            const Pending& pending = pending_[index];
            if (pending.kind == Kind::Made) {
                take(made_[pending.at], true);
                continue;
            }
            Word(pending, worded);
            take(worded, false);
        }
    }

private:
    void Add(Finding finding) {
        pending_.push_back({finding.line, Kind::Made, 0, static_cast<std::uint32_t>(made_.size())});
        made_.push_back(std::move(finding));
    }

    void Add(int line, Kind kind, int list, std::size_t at) {
        pending_.push_back(
            {line, kind, static_cast<std::uint8_t>(list), static_cast<std::uint32_t>(at)});
    }

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
        Add(Made(options_, 1, Severity::Note, "encoding",
                 message + "; a save writes it back the same way",
                 {Text("charset", encoding.charset), {"byteOrderMark", encoding.byteOrderMark}}));

        int kinds = 0;
        std::string counts;
        int firstOther = 0;
        LineEnd other = LineEnd::None;
        for (const LineEnd end : {LineEnd::CrLf, LineEnd::Cr, LineEnd::Lf}) {
            const Recorder::EndCount& count = rec_.ends[static_cast<int>(end) - 1];
            if (count.count == 0)
                continue;
            ++kinds;
            Say(counts, counts.empty() ? "" : ", ", count.count, " ", EndName(end));
            if (end != rec_.firstEnd && (firstOther == 0 || count.firstLine < firstOther)) {
                firstOther = count.firstLine;
                other = end;
            }
        }
        if (kinds > 1)
            Add(Made(
                options_, firstOther, Severity::Note, "mixed-line-ends",
                Said("the file mixes line ends (", counts,
                     "), and this is the first line ending in ", EndName(other),
                     "; the editor ends a line at each of them, and a save writes CR LF "
                     "throughout"),
                {Text("lineEnd", EndName(other)), Text("firstLineEnd", EndName(rec_.firstEnd))}));
    }

    void ReadFindings() {
        const int last = rec_.failure ? rec_.failure->number : -1;
        for (Finding& finding : rec_.lineFindings)
            if (last < 0 || finding.line <= last)
                Add(std::move(finding));
        for (Finding& finding : rec_.aliasFindings)
            Add(std::move(finding));
        for (std::size_t i = 0; i < main_.ShellRest.size(); ++i) {
            const std::string_view rest = main_.ShellRest[i];
            if (!TrimSpaces(rest).empty())
                Add(Made(options_, main_.ShellLines[i], Severity::Warning, "shell-rest",
                         Said("the text after the shell command's fourth comma, ", Quoted{rest},
                              ", is read but never shown or written: a save drops it"),
                         {Text("name", main_.ShellNames[i]), Text("rest", rest)}));
        }
        if (rec_.failure)
            Add(FailureFinding(*rec_.failure));
    }

    // The row that wins in the end is the last of the chain of its name. The
    // pass reports a chain in name order, one row after the other, so walking
    // the settlements backwards meets each row's successor first.
    void Duplicates() {
        std::vector<Settlement>& settled = rec_.settlements;
        for (std::size_t i = settled.size(); i-- > 0;) {
            Settlement& s = settled[i];
            const bool chained = i + 1 < settled.size() && settled[i + 1].list == s.list &&
                                 settled[i + 1].line == s.nextLine;
            s.keptLine = chained ? settled[i + 1].keptLine : s.nextLine;
            if (!s.removed)
                Mark(s.line, MarkedBit(s.list));
        }
        for (std::size_t i = 0; i < settled.size(); ++i)
            Add(settled[i].line, Kind::Duplicate, settled[i].list, i);
    }

    void RowFindings() {
        for (const int placeholder : rec_.placeholderCommands)
            Mark(placeholder, PlaceholderCommandBit);
        for (const int list : {AliasList, ShellList}) {
            const EntryTable& table = main_.Lists[static_cast<std::size_t>(list)];
            for (const std::size_t position : table.NameOrder()) {
                const Row& row = table.At(position);
                const int line = row.line;
                const std::string_view name = row.text;
                if (name == MarkedName) {
                    if (!Marked(line, MarkedBit(list)))
                        Add(line, Kind::DashesName, list, position);
                    continue;
                }
                if (list == ShellList) {
                    if (!FlagsNumber(row.sub[1]))
                        Add(line, Kind::ShellFlags, list, position);
                    continue;
                }
                if (!options_.isKnownCommand)
                    continue;
                const std::string_view command = row.sub[0];
                if (!Marked(line, PlaceholderCommandBit) && !options_.isKnownCommand(command))
                    Add(line, Kind::UnknownCommand, list, position);
                if (options_.isKnownCommand(name) && CompareNoCase(name, command) != 0)
                    Add(line, Kind::NameHidesCommand, list, position);
            }
        }
    }

    // Puts a finding that was not made yet into words, in `finding`.
    void Word(const Pending& pending, Finding& finding) const {
        finding.line = pending.line;
        finding.level = Severity::Warning;
        finding.message.clear();
        finding.fields.clear();
        std::string& message = finding.message;
        const bool fields = options_.fields;
        if (pending.kind == Kind::Duplicate) {
            const Settlement& s = rec_.settlements[pending.at];
            const std::string_view command = s.Command();
            const std::string_view next = s.removed ? command : s.NextCommand();
            finding.code = s.removed ? "duplicate-removed" : "duplicate-marked";
            Say(message, ListWord(s.list), " ", Quoted{s.Name()}, " is defined again on line ",
                s.nextLine);
            if (s.removed)
                Say(message, " with the same command ", Quoted{command},
                    ": the duplicate pass removes this row");
            else
                Say(message, " with another command (", Quoted{next}, " there, ", Quoted{command},
                    " here): the duplicate pass renames this row \"---\", so it is not written");
            Say(message, "; the definition on line ", s.keptLine, " is kept");
            if (fields)
                finding.fields = {Text("name", s.Name()), Text("command", command),
                                  Number("otherLine", s.nextLine), Text("otherCommand", next),
                                  Number("keptLine", s.keptLine)};
            return;
        }
        const Row& row = main_.Lists[pending.list].At(pending.at);
        const std::string_view name = row.text;
        const std::string_view command = row.sub[0];
        const std::string_view flags = row.sub[1];
        switch (pending.kind) {
        case Kind::DashesName:
            finding.code = "dashes-name";
            Say(message,
                "the name \"---\" marks a row that lost to a duplicate: the editor shows this ",
                ListWord(pending.list), " but never writes it");
            if (fields)
                finding.fields = {Text("name", name)};
            break;
        case Kind::UnknownCommand:
            finding.code = "unknown-command";
            Say(message, "the alias ", Quoted{name}, " runs ", Quoted{command},
                ", which is not in the command catalogue");
            if (fields)
                finding.fields = {Text("name", name), Text("command", command)};
            break;
        case Kind::NameHidesCommand:
            finding.code = "name-hides-command";
            Say(message, "the alias name ", Quoted{name},
                " is itself a catalogue command: typing it runs ", Quoted{command},
                " instead of that command");
            if (fields)
                finding.fields = {Text("name", name), Text("command", command)};
            break;
        case Kind::ShellFlags:
            finding.code = "shell-flags";
            Say(message, "the shell command ", Quoted{name}, " has the flags ", Quoted{flags},
                "; flags are a number from \"0\" to \"15\"");
            if (fields)
                finding.fields = {Text("name", name), Text("flags", flags)};
            break;
        case Kind::Made:
        case Kind::Duplicate:
            break;
        }
    }

    // The findings' indices in line order, those of one line in the order
    // they were made: a counting sort by line, which moves no finding.
    std::vector<std::uint32_t> LineOrder() const {
        std::size_t lines = 0;
        for (const Pending& pending : pending_)
            lines = std::max(lines, static_cast<std::size_t>(pending.line));
        std::vector<std::uint32_t> start(lines + 2, 0);
        for (const Pending& pending : pending_)
            ++start[static_cast<std::size_t>(pending.line) + 1];
        for (std::size_t line = 1; line < start.size(); ++line)
            start[line] += start[line - 1];
        std::vector<std::uint32_t> order(pending_.size());
        for (std::size_t i = 0; i < pending_.size(); ++i)
            order[start[static_cast<std::size_t>(pending_[i].line)]++] =
                static_cast<std::uint32_t>(i);
        return order;
    }

    // What is known of each line of the file, as bits.
    static constexpr std::uint8_t PlaceholderCommandBit = 4; // its alias command is a placeholder
    static std::uint8_t MarkedBit(int list) { // its row was renamed "---" by the pass
        return static_cast<std::uint8_t>(1 << list);
    }
    void Mark(int line, std::uint8_t bit) {
        if (line > 0 && static_cast<std::size_t>(line) < lineMarks_.size())
            lineMarks_[static_cast<std::size_t>(line)] |= bit;
    }
    bool Marked(int line, std::uint8_t bit) const {
        return line > 0 && static_cast<std::size_t>(line) < lineMarks_.size() &&
               (lineMarks_[static_cast<std::size_t>(line)] & bit) != 0;
    }

    Main& main_;
    const CheckOptions& options_;
    Recorder& rec_;
    std::vector<Finding> made_;
    std::vector<Pending> pending_;
    std::vector<std::uint8_t> lineMarks_; // by line
};

// Opens the file and makes its findings; none when it cannot be read.
std::optional<Checker> Check(Main& main, const std::string& path, const CheckOptions& options,
                             Recorder& recorder, CheckReport& report) {
    if (OpenPgpFile(main, path, false, &recorder, &recorder) == ReadResult::Unread) {
        report.readable = false;
        report.unreadable = recorder.unreadable.value_or(std::string());
        return std::nullopt;
    }
    report.aliases = main.AliasUpper + 1;
    report.shells = main.ShellUpper + 1;
    std::optional<Checker> checker(std::in_place, main, options, recorder);
    checker->Collect();
    report.counts = checker->Counts();
    return checker;
}

} // namespace

CheckReport CheckPgpFile(Main& main, const std::string& path, const CheckOptions& options) {
    CheckReport report;
    Recorder recorder(options);
    std::optional<Checker> checker = Check(main, path, options, recorder, report);
    if (!checker)
        return report;
    report.findings.reserve(checker->Count());
    checker->Deliver([&](Finding& finding, bool made) {
        if (made)
            report.findings.push_back(std::move(finding));
        else
            report.findings.push_back(finding);
    });
    return report;
}

CheckReport CheckPgpFile(Main& main, const std::string& path, const CheckOptions& options,
                         FindingSink& sink) {
    CheckReport report;
    Recorder recorder(options);
    std::optional<Checker> checker = Check(main, path, options, recorder, report);
    if (!checker)
        return report;
    sink.Begin(report);
    checker->Deliver([&](const Finding& finding, bool) { sink.Take(finding); });
    return report;
}

} // namespace nm
