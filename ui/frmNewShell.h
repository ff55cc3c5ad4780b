// The shell-command dialog: the name typed at the host's command line, the
// operating-system command it starts, a flag number and a prompt; on OK
// checked against the shell list, where a confirmed redefinition marks the old
// row as lost to the new one.
#pragma once

#include <QDialog>

#include <memory>
#include <string>

namespace Ui {
class frmNewShell;
}

namespace nm {

class frmAlias;
struct EntryFields;

class frmNewShell final : public QDialog {
    Q_OBJECT
public:
    explicit frmNewShell(frmAlias& owner);
    ~frmNewShell() override;

    EntryFields Fields() const;
    // Name, command and prompt; the flags as given, also a text that is not
    // one of the sixteen choices (a file edited by hand), shown as an extra one.
    void SetFields(const EntryFields& fields);
    // Name, command and prompt emptied; the flags choice stays.
    void ClearTexts();
    void SetFlags(const std::string& flags);
    void SelectName();

    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void reject() override { cmdCancel_Click(); }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::frmNewShell> ui_;
    frmAlias& owner_;
};

} // namespace nm
