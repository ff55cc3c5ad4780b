// The document's life: opening a file as the editor does, start-up, Open,
// Import, New, the save question, Apply, Save, OK, Cancel and Exit. The
// decisions live here; the window shows them through DocumentView and calls
// these from its menu and button handlers.
#pragma once

#include "core/Main.h"
#include "core/PgpReader.h"

#include <string>

namespace nm {

class DuplicateObserver;

// The file-type lists of the document's file dialogs.
inline constexpr const char* OpenFilter = "Vectrom Program Parameter Files |*.pgp";
inline constexpr const char* NewFilter = "Vectrom Program Parameter Files|*.pgp";
inline constexpr const char* SaveAsFilter =
    "Vectrom 程序参数文件 |*.pgp|Text Files |*.txt|All Files |*.*";

// The list rows made from the load lists after a read (extended, on an
// import), with the duplicate pass, while the window shows its progress.
// Once after each read: the alias names and commands move into the rows.
void FillInListView(Main& main, bool importing, DuplicateObserver* observer = nullptr);

// Opens a file as the editor does: reads it, makes the rows (adds them, on an
// import) and runs the duplicate pass. A read that got none of the file's
// bytes leaves the rows as they were (the user has been told).
ReadResult OpenPgpFile(Main& main, const std::string& path, bool importing,
                       ReadObserver* reader = nullptr, DuplicateObserver* duplicates = nullptr);

// The start-up load: the host's file when there is one, otherwise the open
// dialog. The document starts unchanged.
void StartUp(Main& main, const std::string& hostFile);

// What the window's status line says of the document: the full path of its
// file (its title while it has none), the encoding and line ends the file was
// read in, and a read that stopped at a line, until a save or another file.
std::string FileStatus(const Main& main);

// The save question of Open and New; false when the command must stop.
bool AskToSaveChanges(Main& main, const std::string& filter);

// Open (import false) or Import (true) through the open dialog.
void StartBrowse(Main& main, bool import);
// File > Import: merges a file without changing which file the document is.
void ImportFile(Main& main);

// Open (import false) or Import of a file named without the open dialog: a
// recent file, a file dropped on the window, the document's own file read
// again after it changed on disk. The same questions as through the dialog.
void OpenNamedFile(Main& main, const std::string& path, bool import);
// File > New: an empty, unnamed document.
void NewDocument(Main& main);

// Apply, File > Save and OK: saves the document, asking where a file would be
// overwritten and for a name when it has none. Returns true (cancel) when the
// user gives up or the save does not complete.
bool StartApply(Main& main);
// File > Save: always through the overwrite question.
void SaveDocument(Main& main);
// Cancel and File > Exit: leaves, asking first about unsaved changes.
void StartCancel(Main& main);
// OK: saves and leaves; when the save does not complete, asks as Exit does.
void ApplyAndLeave(Main& main);

} // namespace nm
