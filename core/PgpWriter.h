// Writing the list rows as a program-parameters file: the sections, the whole
// file text, the backup copy and the save itself.
#pragma once

#include "Main.h"
#include "TextCodec.h"

#include <string>

namespace nm {

// One section's text: a line per row that is not marked "---", each ended by
// CR LF, in name order. List 0 is the alias section, 1 the shell section;
// any other number gives "".
std::string PGPString(Main& main, int list);

// Empties and rebuilds AliasSectionText and ShellSectionText.
void BuildSections(Main& main);

// The whole file text from the two section texts, without the final CR LF that
// WriteTextFile adds. An export differs in its fourth line.
std::string PgpFileText(Main& main, bool exporting);

// The name of the backup copy of a file named `title`. Raises run-time error
// 13 when a numbered backup name has no digit where its number stands.
std::string BackupFileName(const std::string& title);

// Writes `text` and one CR LF to `path`, in the given encoding.
void WriteTextFile(const std::string& path, const std::string& text, const TextEncoding& encoding);

// Saves the document to `path` (its file-name part is `title`; an empty title
// means the path's own file-name part): backup when the confirm option is on,
// the file, the document state, the window, then the host is asked to re-read
// the file (unless `notify` is false). Returns true when the file was written.
bool SavePgpFile(Main& main, const std::string& path, const std::string& title, bool quiet,
                 bool notify = true);

} // namespace nm
