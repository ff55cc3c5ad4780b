// The shared state of the editor (the load lists, the list rows, the editing
// and document state) and the services it works through. One Main lives for
// the whole run; tests make a fresh one each.
#pragma once

#include "core/CompactText.h"
#include "core/DocumentView.h"
#include "core/EntryTable.h"
#include "core/History.h"

#include "host/Clock.h"
#include "host/FileDialogs.h"
#include "host/FileSystem.h"
#include "host/HostLink.h"
#include "host/Prompter.h"
#include "host/TextCodec.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace nm {

struct Services {
    Prompter& prompter;
    FileDialogs& dialogs;
    HostLink& host;
    Clock& clock;
    DocumentView& view;
    FileSystem& files;
};

inline constexpr int AliasList = 0;
inline constexpr int ShellList = 1;

// A file's content as the document last saw it: its size and a hash of its bytes.
struct FileStamp {
    std::string path; // "" when the document has seen no file
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of `bytes` read from or written to `path`.
FileStamp StampOf(const std::string& path, std::string_view bytes);

// The most entry lines a file can hold: the reader stops at the next one.
inline constexpr std::size_t MaxEntryLines = 32767;

struct Main {
    explicit Main(Services services) : svc(services) {}

    Services svc;

    // Load lists: filled by the reader, turned into rows after every read
    // (the alias names and commands move into their rows then).
    // The *Lines lists hold each entry's line in the file (1-based physical
    // line of the decoded text), which its row keeps for the check.
    std::vector<CompactText> AliasNames;
    std::vector<CompactText> AliasCommands;
    std::vector<int> AliasLines;
    std::int16_t AliasUpper = -1;
    std::vector<std::string> ShellNames;
    std::vector<std::string> ShellCommands;
    std::vector<std::string> ShellFlags;
    std::vector<std::string> ShellPrompts;
    std::vector<std::string> ShellRest;
    std::vector<int> ShellLines;
    std::int16_t ShellUpper = -1;

    // The text of the file last opened (not imported) as it was decoded, its
    // own line ends kept (OriginalFileText has each ended by CR LF), with the
    // file it came from and the encoding it was read in.
    std::string OriginalText;
    std::string OriginalFile;
    TextEncoding FileEncoding = LocaleEncoding();
    // The line ends of the document's file as a user reads them: "CR LF" (what
    // a save writes), "LF", "CR", "mixed", or "" for a file of one line.
    std::string FileLineEnds;
    // When the read of OriginalFile ended at a line it could not take: that
    // line's number (0 for a whole read) and text. The rows then hold only the
    // entries before it, and a save over that file asks first.
    int PartialLine = 0;
    std::string PartialText;
    // The bytes last read from or written to a file, so that a save notices
    // when someone else has changed that file since.
    FileStamp Disk;

    // The list rows: the document. Index AliasList or ShellList.
    std::array<EntryTable, 2> Lists{EntryTable(2), EntryTable(4)};

    // Editing state shared by the window and the entry dialogs.
    std::int16_t EditMode = 0;
    std::string EditName;
    std::string EditCommand;
    std::string EditFlags;
    std::string EditPrompt;
    bool DialogCancelled = false;

    // Document state.
    std::string CurrentFile;
    std::string CurrentFileTitle;
    std::int16_t FileChanged = 0;
    std::string HostPgpFile;

    std::int16_t PlaceholderCount = 0;
    // Every change to the lists since the file was opened, for undo and redo.
    History history;
};

// `character` ('$' for a name, '?' for a command) repeated as often as this
// has been called in the run; raises
// run-time error 6 when the 16-bit counter would overflow. The name is a view
// of one run of the character that lasts the whole program, so that the
// placeholders of a file, which grow by one character each, cost no memory.
CompactText MakePlaceholder(Main& main, char character);

// The text of the file last opened with each line ended by CR LF: what a
// backup of that file holds.
std::string OriginalFileText(const Main& main);

} // namespace nm
