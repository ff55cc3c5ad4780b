// The list rows made from the load lists after a read, and their removal with
// dense keys.
#pragma once

#include "core/Main.h"

#include <optional>
#include <string>
#include <string_view>

namespace nm {

class DuplicateObserver;

// The row half of filling the list views: rebuilds both lists from the load
// lists (extends them, on an import), then runs the duplicate pass on each.
// Rows are added in the order of the load lists. The alias names and
// commands move out of the load lists into their rows (a long name is moved,
// not copied, and a placeholder stays a view of its run), so it runs once
// after each read; the rest of the load lists stays as the read left it.
void FillListRows(Main& main, bool importing, DuplicateObserver* observer = nullptr);

// Whether alias `index` of the load lists becomes a row: one named "---" does not.
bool AliasMakesRow(const Main& main, std::size_t index);

// Removes the row keyed `key` from the page's list; the row that held the
// highest key takes the freed one, so that N rows keep the keys 1 to N.
// Sets FileChanged. Returns false when no row has that key.
bool RemoveListItem(Main& main, int page, int key);

// The position of the first row of a list whose name equals `name`, letter
// case aside; nothing for the empty name.
std::optional<std::size_t> FindEntry(const EntryTable& table, std::string_view name);
std::optional<std::size_t> FindEntry(const Main& main, int page, std::string_view name);

// What an entry dialog hands back: the name, the command and, for a shell
// command, the flags and the prompt.
struct EntryFields {
    std::string name;
    std::string command;
    std::string flags;
    std::string prompt;
    bool operator==(const EntryFields&) const = default;
};

// The fields as a row of the page holds them: the name trimmed in upper case,
// the command trimmed; a shell command's flags as chosen and its prompt
// trimmed (a file keeps no blanks around a prompt); no flags or prompt for a
// command alias.
EntryFields RowFields(int page, const EntryFields& typed);

// True when the fields make a row of the page: a name, and for a command
// alias a command too.
bool EntryComplete(int page, const EntryFields& fields);

// Adds a row made from a dialog's fields (as RowFields gives them) with the
// next key. Sets FileChanged and returns the row's position; an incomplete
// entry adds nothing, sets EditMode to 0 and returns nothing.
std::optional<std::size_t> AddEntryRow(Main& main, int page, const EntryFields& fields);

} // namespace nm
