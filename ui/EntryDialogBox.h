// A plain entry dialog for each page (name, command and, for shell commands,
// flags and prompt), shown centred over the main window. It refuses an entry
// without its required fields and reports an edit that changed nothing.
#pragma once

#include "EntryDialogs.h"

#include <array>

class QComboBox;
class QDialog;
class QLineEdit;

namespace nm {

class frmAlias;

class EntryDialogBox final : public EntryDialogs {
public:
    explicit EntryDialogBox(frmAlias& window);
    ~EntryDialogBox() override;

    EntryFields Show(int page, const std::string& caption, const EntryFields& fields,
                     bool editing) override;
    void Clear(int page) override;

private:
    struct Page {
        QDialog* dialog = nullptr;
        QLineEdit* name = nullptr;
        QComboBox* command = nullptr; // the catalogue's names on page 0; free text on page 1
        QComboBox* flags = nullptr;
        QLineEdit* prompt = nullptr;
    };
    Page& Make(int page);
    EntryFields Read(const Page& page) const;

    frmAlias& window_;
    std::array<Page, 2> pages_{};
};

} // namespace nm
