// What the file core needs of the window that shows the document: its caption,
// the state of its apply commands, and the confirm option.
#pragma once

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
