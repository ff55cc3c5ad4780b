#include "catalog/CommandCatalogue.h"

#include "host/ErrorHandler.h"
#include "host/FileIo.h"
#include "host/Paths.h"
#include "host/TextCodec.h"
#include "host/Utf8.h"

#include <filesystem>

namespace nm {

namespace {

constexpr std::string_view BlankChars = " \t";

std::string_view TrimEnds(std::string_view text) {
    const std::size_t first = text.find_first_not_of(BlankChars);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(BlankChars) - first + 1);
}

std::size_t SkipBlanks(std::string_view line, std::size_t pos) {
    const std::size_t next = line.find_first_not_of(BlankChars, pos);
    return next == std::string_view::npos ? line.size() : next;
}

// The items of one line. An empty item (two commas in a row, a comma at the
// end of the line, or "") names nothing and is left out, so that a stray comma
// neither adds an empty name nor breaks the repeat rule.
void AddLineItems(std::string_view line, std::vector<std::string>& items) {
    std::size_t pos = 0;
    for (;;) {
        pos = SkipBlanks(line, pos);
        if (pos == line.size())
            return;
        std::size_t comma;
        std::string_view item;
        if (line[pos] == '"') {
            // Quotes let a name hold commas; an unclosed quote runs to the line end.
            const std::size_t close = line.find('"', pos + 1);
            item = line.substr(pos + 1, close == std::string_view::npos ? close : close - pos - 1);
            comma = close == std::string_view::npos ? close : line.find(',', close + 1);
        } else {
            comma = line.find(',', pos);
            item =
                TrimEnds(line.substr(pos, comma == std::string_view::npos ? comma : comma - pos));
        }
        if (!item.empty())
            items.emplace_back(item);
        if (comma == std::string_view::npos)
            return;
        pos = comma + 1;
    }
}

// The items of a file's text; lines end at CR LF, CR or LF.
std::vector<std::string> TextItems(std::string_view text) {
    std::vector<std::string> items;
    for (const std::string_view line : SplitLines(text))
        AddLineItems(line, items);
    return items;
}

// How the catalogue's file work goes on after a run-time error: the user may
// retry; giving up leaves the file as it is, with the details for an error
// that is not a disk error.
ReactionTable FileReaction() {
    ReactionTable table;
    table.byCode[Code::Retry] = {Action::RetryOperation, nullptr};
    table.byCode[Code::Ignore] = {Action::RunStepAgain, nullptr};
    table.byCode[Code::GiveUp] = {Action::End, nullptr};
    table.byCode[Code::Unknown] = {Action::End, ShowDetails()};
    return table;
}

// The items of a file; a file that cannot be read adds nothing.
std::vector<std::string> FileItems(FileSystem& files, Prompter& prompter, const std::string& path) {
    std::vector<std::string> items;
    const Step steps[] = {
        [&] { items = TextItems(DecodeFileText(ReadFileBytes(files, path)).text); }};
    if (RunSteps(prompter, steps, FileReaction()) == Outcome::Ended)
        items.clear();
    return items;
}

class CatalogueReader {
public:
    CatalogueReader(FileSystem& files, const HostContext& host) : files_(files), host_(host) {}

    void ReadMain(const std::string& path) {
        std::string previous;
        for (const std::string& item : FileItems(files_, host_.prompter, path)) {
            if (Full())
                return;
            const std::string upper = UpperCase(item);
            if (LowerCase(CharLeft(item, 2)) == "#i")
                Include(item);
            else if (CharLeft(item, 2) != "//" && upper != previous)
                names_.push_back(item);
            previous = upper;
        }
    }

    std::vector<std::string> Names() && { return std::move(names_); }

private:
    bool Full() const { return names_.size() >= CatalogueCapacity; }

    // `#include "name"`: the name sits in quotes after the 9-character keyword.
    // An included file is a plain list of names: no comments, no includes of
    // its own, and one repeat memory shared by all included files.
    void Include(const std::string& item) {
        if (CharCount(item) < 9)
            return;
        const std::string_view rest = TrimEnds(CharMid(item, 9));
        const std::size_t length = CharCount(rest);
        if (length < 2)
            return;
        const std::string name(CharMid(rest, 1, length - 2));
        // The empty name would select the catalogue itself.
        if (name.empty())
            return;
        const std::string path = SupportFilePath(files_, host_, name);
        if (path.empty())
            return;
        for (const std::string& included : FileItems(files_, host_.prompter, path)) {
            if (Full())
                return;
            std::string upper = UpperCase(included);
            if (upper != includePrevious_)
                names_.push_back(included);
            includePrevious_ = std::move(upper);
        }
    }

    FileSystem& files_;
    const HostContext& host_;
    std::vector<std::string> names_;
    std::string includePrevious_;
};

// Adds `"NAME"` CR LF at the end of the catalogue, in place: the catalogue of
// an installed program sits in a folder the user may not write. The old bytes
// stay as they are; only the new line is encoded, in the file's own encoding.
void AppendName(FileSystem& files, const std::string& path, const std::string& name) {
    const std::string old = ReadFileBytes(files, path);
    const DecodedText decoded = DecodeFileText(old);
    std::string line = "\"" + name + "\"\r\n";
    if (!decoded.text.empty() && decoded.text.back() != '\n' && decoded.text.back() != '\r')
        line = "\r\n" + line; // keep the last name on a line of its own
    TextEncoding encoding = decoded.encoding;
    encoding.byteOrderMark = false; // the mark belongs at the start of the file only
    AppendFileBytes(files, path, EncodeFileText(line, encoding));
}

// The catalogue a new name goes to: the user's own once there is one; else the
// program's, unless the user may not write it (an installed program), when
// the user's own is made for it. "" when there is neither.
std::string CatalogueToGrow(FileSystem& files, const HostContext& host) {
    const std::string& own = host.userCatalogue;
    if (!own.empty() && FileExists(files, own))
        return own;
    const std::string path = SupportFilePath(files, host, "");
    if (own.empty() || (!path.empty() && !files.CheckWrite(path)))
        return path;
    // Notes hold no commas: a comma starts a new name.
    std::error_code ec;
    std::filesystem::create_directories(NativePath(FolderPart(own)), ec);
    WriteFileSafely(files, own,
                    "// Command names you added in the editor. The program's own catalogue is "
                    "read first.\r\n");
    return own;
}

} // namespace

std::vector<std::string> LoadCommandCatalogue(FileSystem& files, const HostContext& host,
                                              const std::string& file) {
    CatalogueReader reader(files, host);
    if (!file.empty()) {
        if (FileExists(files, file))
            reader.ReadMain(file);
        return std::move(reader).Names();
    }
    // The program's catalogue, then the names the user added to their own.
    if (const std::string path = SupportFilePath(files, host, ""); !path.empty())
        reader.ReadMain(path);
    if (!host.userCatalogue.empty() && FileExists(files, host.userCatalogue))
        reader.ReadMain(host.userCatalogue);
    return std::move(reader).Names();
}

bool IsKnownCommand(std::string_view command, const std::vector<std::string>& list) {
    const std::string wanted = LowerCase(command);
    for (const std::string& item : list) {
        if (LowerCase(item) == wanted)
            return true;
    }
    return false;
}

void OfferNewCommand(FileSystem& files, const HostContext& host, const std::string& command,
                     std::vector<std::string>& list) {
    if (IsKnownCommand(command, list))
        return;
    const std::string name = UpperCase(command);
    const Answer answer =
        host.prompter.Show(MessageBox{"'" + name + "' 是一个新的命令. 你想增加到你的命令列表吗?",
                                      Buttons::YesNo, Icon::None, "增加命令?", 1});
    if (answer != Answer::Yes)
        return;
    const Step steps[] = {[&] {
        if (const std::string path = CatalogueToGrow(files, host); !path.empty())
            AppendName(files, path, name);
    }};
    RunSteps(host.prompter, steps, FileReaction());
    list.push_back(name);
}

} // namespace nm
