// The shell-command dialog: the name typed at the host's command line, the
// operating-system command it starts, a flag number and a prompt. On OK it
// applies the core's entry rules against the shell list; it hands back the
// answer (with the row a confirmed redefinition marks) and changes no row.
#pragma once

#include "ui/EntryForm.h"

#include <memory>
#include <string>

namespace Ui {
class frmNewShell;
}

namespace nm {

class frmNewShell final : public EntryForm {
    Q_OBJECT
public:
    explicit frmNewShell(QWidget* parent);
    ~frmNewShell() override;

    EntryFields Fields() const override;
    void cmdOK_Click();

protected:
    // Flags that are not one of the sixteen choices (a file edited by hand)
    // are shown as an extra one.
    void SetFields(const EntryFields& fields) override;
    QLineEdit* NameField() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetFlags(const std::string& flags);

    std::unique_ptr<Ui::frmNewShell> ui_;
};

} // namespace nm
