// The command-alias dialog: an alias name and the host command it stands for,
// checked on OK against the alias list (the redefinition question) and the
// command catalogue (the new-command offer).
#pragma once

#include "Prompter.h"

#include <QDialog>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

namespace Ui {
class frmNewAlias;
}

namespace nm {

class frmAlias;
struct Row;

// "一个或多个必需的字段被置空.": an entry dialog's required field is empty.
void WarnRequiredFields(Prompter& prompter, int editMode);

// A comma in an entry's field would end the field in the file and shift or
// break the line: such an entry is refused with a message. True when refused.
bool RefuseCommas(Prompter& prompter, std::initializer_list<std::string> fields);

// The row of `page` that an entry of this name would meet: FindEntry, except
// that the row being edited is not a duplicate of itself.
std::optional<std::size_t> ExistingRow(frmAlias& owner, int page, const std::string& name);

class frmNewAlias final : public QDialog {
    Q_OBJECT
public:
    explicit frmNewAlias(frmAlias& owner);
    ~frmNewAlias() override;

    std::string Name() const;
    std::string Command() const;
    void SetFields(const std::string& name, const std::string& command);
    void SelectName();
    // The catalogue's commands, shown in alphabetical order.
    void SetCommands(const std::vector<std::string>& commands);

    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void reject() override { cmdCancel_Click(); }

private:
    std::unique_ptr<Ui::frmNewAlias> ui_;
    frmAlias& owner_;
};

} // namespace nm
