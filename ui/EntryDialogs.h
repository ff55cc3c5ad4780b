// The entry dialogs as the main window's Add and Edit commands use them: the
// command-alias dialog (page 0) and the shell-command dialog (page 1).
#pragma once

#include "ListRows.h"

#include <string>

namespace nm {

class EntryDialogs {
public:
    virtual ~EntryDialogs() = default;
    // Shows the dialog of `page` modally, centred over the main window, with
    // its caption and fields set as the Add or Edit command sets them; returns
    // its fields once it has closed. The dialog itself does its checks and
    // questions and sets Main::DialogCancelled.
    virtual EntryFields Show(int page, const std::string& caption, const EntryFields& fields,
                             bool editing) = 0;
    // Empties the dialog's fields after a cancelled edit.
    virtual void Clear(int page) = 0;
};

} // namespace nm
