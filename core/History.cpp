#include "core/History.h"

#include "core/Main.h"

namespace nm {

void History::Clear() {
    steps_.clear();
    done_ = 0;
    saved_ = 0;
}

std::string History::UndoCaption() const {
    return CanUndo() ? "撤销 " + steps_[done_ - 1].caption : "撤销";
}

std::string History::RedoCaption() const {
    return CanRedo() ? "重做 " + steps_[done_].caption : "重做";
}

void History::Push(UndoStep step) {
    steps_.resize(done_);
    if (saved_ && *saved_ > done_)
        saved_.reset(); // the saved state was undone and is now out of reach
    steps_.push_back(std::move(step));
    ++done_;
}

void RecordStep(Main& main, const std::string& caption, const std::function<void()>& change) {
    if (main.Lists[AliasList].Recording()) {
        change();
        return;
    }
    UndoStep step;
    const auto finish = [&] {
        for (std::size_t page = 0; page < 2; ++page)
            main.Lists[page].FinishRecording();
        if (!step.pages[0].empty() || !step.pages[1].empty()) {
            step.caption = caption;
            main.history.Push(std::move(step));
        }
        main.svc.view.UpdateCommandState();
    };
    for (std::size_t page = 0; page < 2; ++page)
        main.Lists[page].Record(&step.pages[page]);
    try {
        change();
    } catch (...) {
        finish(); // what changed before the error can be undone too
        throw;
    }
    finish();
}

namespace {

void Restore(Main& main, const UndoStep& step, bool before) {
    for (const int page : {AliasList, ShellList}) {
        const RowChanges& changes = step.pages[static_cast<std::size_t>(page)];
        if (!changes.empty())
            main.svc.view.ChangeRows(
                page, [&] { main.Lists[static_cast<std::size_t>(page)].Restore(changes, before); });
    }
    main.FileChanged = main.history.AtSaved() ? 0 : 1;
    main.svc.view.UpdateCaption();
    main.svc.view.UpdateCommandState();
}

} // namespace

void UndoLastStep(Main& main) {
    if (main.history.CanUndo())
        Restore(main, main.history.Undo(), true);
}

void RedoNextStep(Main& main) {
    if (main.history.CanRedo())
        Restore(main, main.history.Redo(), false);
}

} // namespace nm
