// Writing the list rows as a program-parameters file: the sections, the whole
// file text, the backup copy and the save itself.
#pragma once

#include "core/Main.h"
#include "host/TextCodec.h"

#include <string>

namespace nm {

inline constexpr const char* PgpFilter = "Vectrom Program Parameter Files |*.pgp";

// One section's text: a line per row that is not marked "---", each ended by
// CR LF, in name order. List 0 is the alias section, 1 the shell section;
// any other number gives "".
std::string PGPString(Main& main, int list);

// The whole file text, its sections built afresh from the rows straight into
// it, without the final CR LF that WriteTextFile adds. An export differs in
// its fourth line.
std::string PgpFileText(Main& main, bool exporting);

// The name of the backup copy of a file named `title`. Raises run-time error
// 13 when a numbered backup name has no digit where its number stands.
std::string BackupFileName(const std::string& title);

// The bytes of a file whose text is `text`: one more CR LF, in the given encoding.
std::string FileBytes(std::string text, const TextEncoding& encoding);

// Writes `text` and one CR LF to `path`, in the given encoding.
void WriteTextFile(FileSystem& files, const std::string& path, const std::string& text,
                   const TextEncoding& encoding);

// Whether the rows that are written (all but those marked "---") fit in a
// file the reader reads whole; when they do not, the user is told.
bool RowsFitInFile(Main& main);

// Saves the document to `path` (its file-name part is `title`; an empty title
// means the path's own file-name part): backup when the confirm option is on,
// the file, the document state, the window, then the host is asked to re-read
// the file (unless `notify` is false). A file that changed on disk since the
// document last read or wrote it, or whose read stopped at a bad line, is
// replaced only after a question, and its bytes always go to the backup.
// Returns true when the file was written.
bool SavePgpFile(Main& main, const std::string& path, const std::string& title, bool quiet,
                 bool notify = true);

// The save dialog with the overwrite question; the chosen path, or "" when the
// user gives up.
std::string AskSaveFileName(Main& main, const std::string& filter, const std::string& fileName);

} // namespace nm
