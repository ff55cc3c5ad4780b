// Reading a program-parameters file into the load lists.
#pragma once

#include "core/Main.h"

#include <string>
#include <string_view>
#include <vector>

namespace nm {

class RuntimeError;

enum class ReadResult {
    Completed, // the whole file was read
    Failed,    // the read ended or skipped a step after an error; the user was told
    Unread,    // the file's bytes could not be read; the user was told
};

// What the editor shows when a read ends at a line it cannot take.
inline constexpr const char* UnreadablePgpMessage = "不可识别的错误在 PGP 文件.";

// A line of a file as the editor's messages name it: its number and its text
// (cut when it is long).
std::string LineReference(int number, std::string_view text);

// What the reader makes of a line, decided on the line as read (not trimmed).
enum class LineKind {
    Blank,    // empty or nothing but blanks: dropped
    Comment,  // ";" in the first column: dropped
    Control,  // a control character first (a tab, say): dropped
    NonAscii, // a character outside ASCII first, which the host's double-byte
              // code page reads with a negative code: dropped
    Entry,    // an alias or shell command line
};

LineKind ClassifyPgpLine(std::string_view line);

// An alias command as the reader stores it: without blanks around it and
// without the leading characters the host does not take as the start of a
// command (while more than one character is left). Raises run-time error 5
// for a command that is empty after trimming.
std::string_view CleanAliasCommand(std::string_view command);

enum class LineEnd { None, CrLf, Cr, Lf };

// Why a read ended at an entry line.
enum class ReadFailure {
    ShellCommas,      // two or three commas: a shell command needs four
    EmptyCommand,     // an alias whose command is empty after trimming
    TooManyLines,     // the 32768th entry line overflows the 16-bit line count
    PlaceholderLimit, // MakePlaceholder's counter is at its limit
};

enum class Placeholder {
    None,
    Name,    // a line without a comma: the name is "$" repeated
    Command, // a line whose only comma ends it: the command is "?" repeated
};

// An entry line that became a command alias.
struct AliasRead {
    std::string_view name;    // as read: not trimmed, "" when the line begins with its comma
    std::string_view command; // as read, before cleaning
    std::string_view cleaned; // as stored in AliasCommands
    Placeholder placeholder = Placeholder::None;
};

// Told what the reader does with each line of the file, for a caller that
// reports on a file line by line. Line numbers count the physical lines of the
// decoded text from 1, as SplitLines splits it. The calls come in this order:
// Line for every line, then Alias for each alias line until a Failed.
// A retry reads the file again, and the calls begin again.
class ReadObserver {
public:
    virtual ~ReadObserver() = default;
    // The file's bytes could not be read; what follows is the error reaction's.
    virtual void Unreadable(const RuntimeError&) {}
    virtual void Line(int /*number*/, std::string_view /*text*/, LineEnd, LineKind) {}
    // The line became alias AliasUpper of the load lists.
    virtual void Alias(int /*number*/, const AliasRead&) {}
    // The read ends at this line; the load lists keep the entries before it.
    virtual void Failed(int /*number*/, std::string_view /*text*/, ReadFailure) {}
};

// Fills the load lists from the file at `path`, reporting errors to the user.
// A read that is not an import also replaces OriginalText and what the document
// knows of its file (OriginalFile, FileEncoding, Disk, PartialLine). After a
// failure the load lists hold exactly the entries of the lines before the
// failing line; a read that got none of the file's bytes leaves them empty and
// the rest of `main` as it was. An observer changes nothing about the read.
ReadResult ReadPgpFile(Main& main, const std::string& path, bool importing,
                       ReadObserver* observer = nullptr);

} // namespace nm
