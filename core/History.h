// Undo and redo: every change to the lists since the file was opened, as
// steps that hold the rows each change touched (not copies of the document).
// A save keeps the history and marks the step it saved at, so that undoing
// back to it leaves the document unchanged again.
#pragma once

#include "core/EntryTable.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace nm {

struct Main;

struct UndoStep {
    std::string caption; // what the user did: "删除 ZZ"
    std::array<RowChanges, 2> pages;
};

class History {
public:
    // A new history: Open, New, the start-up load.
    void Clear();
    // The document was saved as it is now.
    void MarkSaved() { saved_ = done_; }
    // The document is as it was opened or last saved.
    bool AtSaved() const { return saved_ == done_; }
    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }
    // "撤销 删除 ZZ" and "重做 删除 ZZ"; "撤销" and "重做" with nothing to do.
    std::string UndoCaption() const;
    std::string RedoCaption() const;
    // A step done: the steps undone before it can no longer be redone.
    void Push(UndoStep step);
    const UndoStep& Undo() { return steps_[--done_]; }
    const UndoStep& Redo() { return steps_[done_++]; }
    std::size_t Count() const { return steps_.size(); }

private:
    std::vector<UndoStep> steps_;
    std::size_t done_ = 0;
    std::optional<std::size_t> saved_ = 0;
};

// Runs a user's command on the lists as one step of the history, named by
// `caption` as it reads once `change` has run. A command that changes no row
// leaves no step; one inside another's step is part of that step.
void RecordStep(Main& main, const std::string& caption, const std::function<void()>& change);

// Edit > Undo and Edit > Redo: the rows of the last step done (or undone)
// come back as they were, and the document is unchanged exactly when that
// brings it back to where it was opened or saved.
void UndoLastStep(Main& main);
void RedoNextStep(Main& main);

} // namespace nm
