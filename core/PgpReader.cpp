#include "core/PgpReader.h"

#include "host/ErrorHandler.h"
#include "host/FileIo.h"
#include "host/RuntimeError.h"
#include "host/Utf8.h"

#include <limits>
#include <optional>

namespace nm {

std::string LineReference(int number, std::string_view text) {
    constexpr std::size_t Shown = 80;
    std::string reference = "第 " + std::to_string(number) + " 行: ";
    if (CharCount(text) > Shown)
        return reference + std::string(CharLeft(text, Shown)) + "...";
    return reference + std::string(text);
}

LineKind ClassifyPgpLine(std::string_view line) {
    if (line.find_first_not_of(' ') == std::string_view::npos)
        return LineKind::Blank;
    const auto first = static_cast<unsigned char>(line[0]);
    if (first == ';')
        return LineKind::Comment;
    if (first < 32)
        return LineKind::Control;
    if (first >= 0x80)
        return LineKind::NonAscii;
    return LineKind::Entry;
}

namespace {

// The end of `line`, a view into `text`.
LineEnd EndOf(std::string_view text, std::string_view line) {
    const auto end = static_cast<std::size_t>(line.data() - text.data()) + line.size();
    if (end >= text.size())
        return LineEnd::None;
    if (text[end] == '\n')
        return LineEnd::Lf;
    return end + 1 < text.size() && text[end + 1] == '\n' ? LineEnd::CrLf : LineEnd::Cr;
}

} // namespace

std::string_view CleanAliasCommand(std::string_view command) {
    command = TrimSpaces(command);
    if (command.empty())
        throw RuntimeError(Err::InvalidCall);
    const auto first = static_cast<unsigned char>(command.front());
    if (command.size() == 1 || (first > 42 && first <= 122))
        return command; // nothing to take off: the common case
    std::size_t start = 0;
    // Plain ASCII a byte at a time; from the first other character on, by
    // characters.
    while (start + 1 < command.size()) {
        const auto code = static_cast<unsigned char>(command[start]);
        if (code >= 0x80 || static_cast<unsigned char>(command[start + 1]) >= 0x80 ||
            (code > 42 && code <= 122))
            break;
        ++start;
    }
    const auto at = static_cast<unsigned char>(command[start]);
    if (at > 42 && at <= 122)
        return command.substr(start); // a plain ASCII start
    while (true) {
        const std::size_t next = start + ByteOffsetOfChar(command.substr(start), 1);
        if (next >= command.size())
            break; // one character left
        const char32_t code = CodePointAt(command, start);
        if (code > 42 && code <= 122)
            break;
        start = next;
    }
    return command.substr(start);
}

namespace {

struct Reader {
    Reader(Main& m, std::string p, bool i, ReadObserver* o)
        : main(m), path(std::move(p)), importing(i), observer(o) {}

    Main& main;
    std::string path;
    bool importing;
    ReadObserver* observer;

    struct EntryLine {
        std::string_view text;
        int number; // 1-based physical line
    };

    std::string bytes;
    std::string text;
    std::size_t entries = 0; // entry lines in `text`
    bool loaded = false;
    bool resetDone = false;
    std::optional<EntryLine> failed;

    void Load() {
        loaded = false;
        failed.reset();
        entries = 0;
        try {
            bytes = ReadFileBytes(main.svc.files, path);
        } catch (const RuntimeError& error) {
            if (observer)
                observer->Unreadable(error);
            throw;
        }
        loaded = true;
    }

    void Collect() {
        // A file whose bytes could not be read is no document: what the
        // editor knows of the file it has open stays as it was.
        if (!loaded)
            return;
        if (!importing) {
            main.Disk = StampOf(path, bytes);
            main.PartialLine = 0;
            main.PartialText.clear();
        }
        DecodedText decoded = DecodeFileText(std::move(bytes));
        bytes = std::string();
        text = std::move(decoded.text);
        entries = 0;
        if (!importing) {
            main.OriginalFile = path;
            main.FileEncoding = decoded.encoding;
        }
        int number = 0;
        std::optional<LineEnd> ends;
        bool mixed = false;
        ForEachLine(text, [&](const std::string_view line) {
            ++number;
            const LineEnd end = EndOf(text, line);
            if (!importing && end != LineEnd::None) {
                mixed = mixed || (ends && *ends != end);
                ends = end;
            }
            const LineKind kind = ClassifyPgpLine(line);
            if (observer)
                observer->Line(number, line, end, kind);
            entries += kind == LineKind::Entry ? 1 : 0;
        });
        if (!importing)
            main.FileLineEnds = mixed                    ? "mixed"
                                : !ends                  ? ""
                                : *ends == LineEnd::CrLf ? "CR LF"
                                : *ends == LineEnd::Lf   ? "LF"
                                                         : "CR";
    }

    void Reset() {
        resetDone = true;
        main.AliasUpper = -1;
        main.ShellUpper = -1;
        main.AliasNames.clear();
        main.AliasCommands.clear();
        main.AliasLines.clear();
        main.ShellNames.clear();
        main.ShellCommands.clear();
        main.ShellFlags.clear();
        main.ShellPrompts.clear();
        main.ShellRest.clear();
        main.ShellLines.clear();
    }

    [[noreturn]] void Fail(const EntryLine& line, ReadFailure failure, const RuntimeError& error) {
        failed = line;
        if (!importing) {
            main.PartialLine = line.number;
            main.PartialText = std::string(line.text);
        }
        if (observer)
            observer->Failed(line.number, line.text, failure);
        throw error;
    }

    // The reader's message for a read it cannot go on with, naming the line
    // it stopped at, so that the user can find and mend it.
    void ShowUnreadable(Prompter& prompter) const {
        std::string text = UnreadablePgpMessage;
        if (failed)
            text += "\r\n" + LineReference(failed->number, failed->text);
        prompter.Message(text);
    }

    // Each entry line in file order; the 32768th overflows the 16-bit line
    // count. An entry is stored only once it is whole,
    // so a failing line leaves the lists with the entries before it.
    // The lines are found again here rather than kept from the first pass:
    // finding them costs less than holding a list of them.
    void ClassifyAll() {
        const std::size_t room = std::min(entries, MaxEntryLines);
        main.AliasNames.reserve(room);
        main.AliasCommands.reserve(room);
        main.AliasLines.reserve(room);
        std::int16_t lineCount = 0;
        int number = 0;
        ForEachLine(text, [&](const std::string_view line) {
            ++number;
            if (ClassifyPgpLine(line) != LineKind::Entry)
                return;
            const EntryLine entry{line, number};
            if (lineCount == std::numeric_limits<std::int16_t>::max())
                Fail(entry, ReadFailure::TooManyLines, RuntimeError(Err::Overflow));
            ++lineCount;
            ClassifyLine(entry);
        });
    }

    CompactText TakePlaceholder(const EntryLine& line, char character) {
        try {
            return MakePlaceholder(main, character);
        } catch (const RuntimeError& error) {
            Fail(line, ReadFailure::PlaceholderLimit, error);
        }
    }

    void ClassifyLine(const EntryLine& entry) {
        const std::string_view line = entry.text;
        const std::size_t p1 = line.find(',');
        const std::size_t p2 = p1 == std::string_view::npos ? p1 : line.find(',', p1 + 1);
        if (p1 == std::string_view::npos) {
            CompactText name = TakePlaceholder(entry, '$');
            AddAlias(entry, std::move(name), line, Placeholder::Name);
        } else if (p2 == std::string_view::npos && p1 == line.size() - 1) {
            const CompactText command = TakePlaceholder(entry, '?');
            AddAlias(entry, CompactText(line), command, Placeholder::Command);
        } else if (p2 == std::string_view::npos) {
            AddAlias(entry, CompactText(line.substr(0, p1)), line.substr(p1 + 1),
                     Placeholder::None);
        } else {
            const std::size_t p3 = line.find(',', p2 + 1);
            const std::size_t p4 = p3 == std::string_view::npos ? p3 : line.find(',', p3 + 1);
            if (p4 == std::string_view::npos) // a shell line needs four commas
                Fail(entry, ReadFailure::ShellCommas, RuntimeError(Err::InvalidCall));
            std::string_view prompt = line.substr(p3 + 1, p4 - p3 - 1);
            if (!prompt.empty() && prompt.front() == '*')
                prompt.remove_prefix(1);
            ++main.ShellUpper;
            main.ShellNames.emplace_back(line.substr(0, p1));
            main.ShellCommands.emplace_back(line.substr(p1 + 1, p2 - p1 - 1));
            main.ShellFlags.emplace_back(line.substr(p2 + 1, p3 - p2 - 1));
            main.ShellPrompts.emplace_back(prompt);
            main.ShellRest.emplace_back(line.substr(p4 + 1));
            main.ShellLines.push_back(entry.number);
        }
    }

    void AddAlias(const EntryLine& entry, CompactText name, std::string_view command,
                  Placeholder placeholder) {
        CompactText cleaned;
        try {
            const std::string_view clean = CleanAliasCommand(command);
            // A placeholder command is its own whole text: keep its view.
            cleaned = clean.size() == command.size() && placeholder == Placeholder::Command
                          ? CompactText::Lasting(command)
                          : CompactText(clean);
        } catch (const RuntimeError& error) {
            Fail(entry, ReadFailure::EmptyCommand, error);
        }
        const bool unnamed = name.empty();
        ++main.AliasUpper;
        main.AliasNames.push_back(unnamed ? CompactText(MarkedName) : std::move(name));
        main.AliasCommands.push_back(std::move(cleaned));
        main.AliasLines.push_back(entry.number);
        if (observer)
            observer->Alias(entry.number,
                            AliasRead{unnamed ? std::string_view() : main.AliasNames.back(),
                                      command, main.AliasCommands.back(), placeholder});
    }
};

} // namespace

ReadResult ReadPgpFile(Main& main, const std::string& path, bool importing,
                       ReadObserver* observer) {
    Reader reader(main, path, importing, observer);
    const Step steps[] = {
        [&] { reader.Load(); },
        [&] { reader.Collect(); },
        [&] { reader.Reset(); },
        [&] { reader.ClassifyAll(); },
    };
    ReactionTable table;
    table.byCode[Code::Retry] = {Action::RetryOperation, nullptr};
    table.byCode[Code::Ignore] = {Action::RunStepAgain, nullptr};
    table.byCode[Code::GiveUp] = {Action::NextStep, ShowText("一个不可修复的错误发生.")};
    table.byCode[Code::Unknown] = {Action::End, [&](Prompter& prompter, const RuntimeError&) {
                                       reader.ShowUnreadable(prompter);
                                   }};
    const Outcome outcome = RunSteps(main.svc.prompter, steps, table);
    // A read that ends before its lists were reset must not leave the entries
    // of an earlier file behind: the window builds its rows from them next.
    if (!reader.resetDone)
        reader.Reset();
    if (!reader.loaded)
        return ReadResult::Unread;
    // The document keeps the text it read (the entry lines were views of it).
    if (!importing)
        main.OriginalText = std::move(reader.text);
    return outcome == Outcome::Completed ? ReadResult::Completed : ReadResult::Failed;
}

} // namespace nm
