// The problems of the file a document has just read: what `pgptool check`
// finds in it, each finding tied to the row of the document it is about, for
// the panel under the lists. The findings are those of the file as read; they
// say which file and when, and do not follow later edits.
#pragma once

#include "core/Main.h"
#include "core/PgpCheck.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace nm {

struct Problem {
    Severity level = Severity::Note;
    int line = 0; // 1-based line of the file
    std::string message;
    std::string code; // the check's code: "duplicate-marked", "unknown-command", ...
    // The row the finding is about, when the document holds one from this
    // read: its page (AliasList or ShellList) and key; -1 and 0 otherwise.
    int page = -1;
    int key = 0;
};

struct ProblemReport {
    std::string file;              // the path checked
    std::string checkedAt;         // local time of the check, "2026-12-07 06:30"
    std::vector<Problem> problems; // in file order
    std::string unreadable;        // why the file could not be read; "" when it was
};

// A level in the words of the editor: "错误", "警告", "注意".
std::string LevelText(Severity level);

// The `added` stamp the next row of each page gets (EntryTable::NextAdded),
// indexed by page. Taken before a read, it tells the rows the read adds from
// those the document held before; an Open replaces every row, so {} will do.
using AddedMark = std::array<std::uint64_t, 2>;
AddedMark NextAdded(const Main& document);

// Options that check alias commands against a catalogue's names, letter case
// aside; no catalogue check when there are no names.
CheckOptions CatalogueCheck(const std::vector<std::string>& names);

// Checks `path` as `pgptool check` does (a fresh Main whose boxes nobody
// sees, on the document's file system), right after `document` has opened or
// imported it. A finding about a row is tied to the row of either page that
// was read from the finding's line and is stamped at or above `firstAdded`
// of its page. The note on the file's encoding, which every file gets and the
// status line shows, is left out, so that a file without problems has none.
ProblemReport CheckOpenedFile(const Main& document, const std::string& path,
                              const AddedMark& firstAdded, const CheckOptions& options,
                              Clock& clock);

} // namespace nm
