// What the document needs of the window that shows it: its caption, the state
// of its apply commands, the confirm option, and the list views that show the
// rows. The window implements it; a view without a window does nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace nm {

class DocumentView {
public:
    virtual ~DocumentView() = default;
    // The caption follows CurrentFileTitle.
    virtual void UpdateCaption() = 0;
    // Apply, File > Save and the Cancel caption follow the document state.
    virtual void UpdateCommandState() = 0;
    // The confirm option (chkConfirm): questions before destructive steps, and
    // the backup copy of a file the writer replaces.
    virtual bool ConfirmChecked() const = 0;

    // The rows of a page are filled anew or cleared inside `change`; a list
    // view lets go of them first and shows them again after, keeping its
    // selected row.
    virtual void ChangeRows(int /*page*/, const std::function<void()>& change) { change(); }
    // One row of a page changes inside `change`, so that a list view follows
    // it row by row: a row is added at a 0-based position, the row at a
    // position is removed, or the row holding `key` is altered and may move.
    virtual void InsertRow(int /*page*/, std::size_t /*position*/,
                           const std::function<void()>& change) {
        change();
    }
    virtual void RemoveRow(int /*page*/, std::size_t /*position*/,
                           const std::function<void()>& change) {
        change();
    }
    virtual void UpdateRow(int /*page*/, int /*key*/, const std::function<void()>& change) {
        change();
    }
    // A file was read into the lists (the rows an import added are those
    // stamped at or above `firstAdded`, per page; an open's are all of them).
    virtual void FileRead(const std::string& /*path*/,
                          const std::array<std::uint64_t, 2>& /*firstAdded*/) {}
    // "获得命令..." while the lists are filled.
    virtual void ShowProgress(bool /*shown*/) {}
    // Selects the row at a 1-based position of a page's list and scrolls to it.
    virtual void SelectListItem(int /*position*/, int /*page*/) {}
    // A row was added to a page at a 0-based position: it is selected and can
    // be removed.
    virtual void RowAdded(int page, std::size_t position) {
        SelectListItem(static_cast<int>(position) + 1, page);
    }
    // The page's Add button becomes the window's default button.
    virtual void MakeAddDefault(int /*page*/) {}
    // The focus goes to the page's list.
    virtual void FocusList(int /*page*/) {}
    // What a save, an export or a print did, in words, for a few seconds at
    // the foot of the window.
    virtual void ShowResult(const std::string& /*text*/) {}
    // Apply and File > Save are disabled: there is nothing to apply.
    virtual void DisableApply() {}
    // The page shown (0 = command aliases, 1 = shell commands).
    virtual int CurrentTabIndex() const { return 0; }
    // The window closes: the confirm option is stored and the program ends.
    virtual void Unload() {}
};

// A view without a window, for the command-line companion.
class QuietView final : public DocumentView {
public:
    explicit QuietView(bool confirm) : confirm_(confirm) {}
    void UpdateCaption() override {}
    void UpdateCommandState() override {}
    bool ConfirmChecked() const override { return confirm_; }

private:
    bool confirm_;
};

} // namespace nm
