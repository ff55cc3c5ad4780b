// The entry commands of the two list pages (Add, Edit, Remove) and the rules
// the two entry dialogs apply on OK: the required fields, what a file cannot
// hold, no change, the duplicate question and the redefinition report. A
// dialog only shows fields and returns what these rules answer; the commands
// apply the answer to the rows.
#pragma once

#include "core/ListRows.h"
#include "core/Main.h"

#include <functional>
#include <string>

namespace nm {

enum class EntryOutcome {
    Stay,      // refused, or No in the duplicate question: the dialog stays open
    Accepted,  // a new entry, or a confirmed redefinition
    Unchanged, // OK while editing, with nothing changed
    Duplicate, // the entry is in the list already, as typed: nothing to add
    Cancelled, // Cancel, or Cancel in the duplicate question
};

struct EntryAnswer {
    EntryOutcome outcome = EntryOutcome::Stay;
    EntryFields fields;      // what the dialog's fields hold afterwards
    int markKey = 0;         // a confirmed shell redefinition: the old row, to be marked "---"
    bool selectName = false; // the name is selected, for another try
};

// What an entry dialog checks an entry against, for one showing.
struct EntryCheck {
    Prompter& prompter;
    const EntryTable& list; // the rows of the dialog's page
    int page = AliasList;
    bool editing = false;
    EntryFields edited; // the row being edited, as the dialog first shows it
    int editedKey = 0;  // its key; 0 when adding
    bool confirm = true;
    TextEncoding encoding; // the encoding the document's file is written in
};

// "一个或多个必需的字段被置空.": a required field is empty.
void WarnRequiredFields(Prompter& prompter, bool editing);

// Why a file cannot hold an entry whose row would hold these fields (the
// user's message); "" when it can: the row then reads back the same.
std::string EntryProblem(int page, const EntryFields& row, const TextEncoding& encoding);

// Asks whether to add a command the catalogue does not know (the alias
// dialog's new-command offer); empty when there is no catalogue.
using OfferCommand = std::function<void(const std::string& command)>;

// OK in the command-alias dialog, with the fields as typed.
EntryAnswer AliasOk(const EntryCheck& check, const EntryFields& typed, const OfferCommand& offer);
// OK in the shell-command dialog.
EntryAnswer ShellOk(const EntryCheck& check, const EntryFields& typed);
// Cancel in either dialog: an edit's fields come back, an addition's go (the
// flags choice stays).
EntryAnswer EntryCancel(const EntryCheck& check, const EntryFields& typed);

// Shows a page's entry dialog with a check and the fields to show, and
// returns how it closed.
using EntryDialog = std::function<EntryAnswer(const EntryCheck& check, const EntryFields& shown)>;

// The Add command of a page (cmdAdd_Click): the dialog, then the new row,
// which replaces a row of the same name. Returns the dialog's answer.
EntryAnswer AddCommand(Main& main, int page, const EntryDialog& dialog);
// Edits the row keyed `key` through the dialog: the edited entry becomes a
// new row with the next key, the only row of its name. An edit that hands
// back no entry changes nothing.
void StartEdit(Main& main, int page, int key, const EntryDialog& dialog);
// Removes the row keyed `key`, after the question when the confirm option is on.
void StartRemove(Main& main, int page, int key);
// Adds a row made from a dialog's fields to a page, selects it and updates
// the window's commands; an incomplete entry adds nothing.
void AddEntryFromDialog(Main& main, int page, const EntryFields& fields);

} // namespace nm
