// Import, export and merge: the duplicate pass, the export command and the
// save dialog with its overwrite question.
#pragma once

#include "core/Main.h"

#include <string>

namespace nm {

inline constexpr const char* PgpFilter = "Vectrom Program Parameter Files |*.pgp";

// Told of each row the duplicate pass settles, before the list changes.
class DuplicateObserver {
public:
    virtual ~DuplicateObserver() = default;
    // `loser` and `next` share a name and follow each other in name order;
    // `loser` is removed (same command) or renamed "---" (another command).
    virtual void Settled(int list, const Row& loser, const Row& next, bool removed) = 0;
};

// Settles rows of equal name in one list, walking it once in name order: of
// two rows with the same command the first is removed, of two with different
// commands the first is renamed "---". On an import, a message counts the
// renamed rows. An observer changes nothing about the pass.
void ResolveDuplicates(Main& main, int list, bool importing, DuplicateObserver* observer = nullptr);

// The text an export writes (a saved file's text with the export's line 4).
std::string ExportText(Main& main);

// File > Export: asks for a file and writes the lists to it, without touching
// the document state. Returns true when a file was written.
bool ExportLists(Main& main);

// The save dialog with the overwrite question; the chosen path, or "" when the
// user gives up.
std::string AskSaveFileName(Main& main, const std::string& filter, const std::string& fileName);

} // namespace nm
