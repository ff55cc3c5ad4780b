#include "frmNewAlias.h"

#include "ui_frmNewAlias.h"

#include "CommandCatalogue.h"
#include "ListRows.h"
#include "Text.h"
#include "frmAlias.h"

#include <QLineEdit>

namespace nm {

void WarnRequiredFields(Prompter& prompter, int editMode) {
    prompter.Show(MessageBox{"一个或多个必需的字段被置空." + Blanks(30) +
                                 (editMode == 1 ? " 这个改变不能生成." : " 这个热键不能增加."),
                             Buttons::OK, Icon::Exclamation, "热键无效", 1});
}

bool RefuseCommas(Prompter& prompter, std::initializer_list<std::string> fields) {
    for (const std::string& field : fields) {
        if (field.find(',') != std::string::npos) {
            prompter.Show(MessageBox{"热键的字段不能包含逗号 (,). 这个热键不能保存.", Buttons::OK,
                                     Icon::Exclamation, "热键无效", 1});
            return true;
        }
    }
    return false;
}

std::optional<std::size_t> ExistingRow(frmAlias& owner, int page, const std::string& name) {
    Main& main = owner.State();
    const auto found = FindEntry(main, page, name);
    // An edit that changes only the letter case meets its own row: that is the
    // entry being changed, not another one, and the typed text is stored.
    if (found && main.EditMode != 0 &&
        main.Lists[static_cast<std::size_t>(page)].At(*found).key == owner.EditedKey())
        return std::nullopt;
    return found;
}

frmNewAlias::frmNewAlias(frmAlias& owner)
    : QDialog(&owner), ui_(std::make_unique<Ui::frmNewAlias>()), owner_(owner) {
    ui_->setupUi(this);
    QFont font = ListFont();
    ui_->txtAlias->setFont(font);
    owner_.State().DialogCancelled = false;
    connect(ui_->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(ui_->cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    SetCommands(owner_.Catalogue());
}

frmNewAlias::~frmNewAlias() = default;

std::string frmNewAlias::Name() const {
    return ui_->txtAlias->text().toStdString();
}
std::string frmNewAlias::Command() const {
    return ui_->cmbRep->Text();
}

void frmNewAlias::SetFields(const std::string& name, const std::string& command) {
    ui_->txtAlias->setText(QString::fromStdString(name));
    ui_->cmbRep->SetText(command);
}

void frmNewAlias::SelectName() {
    ui_->txtAlias->setFocus();
    ui_->txtAlias->selectAll();
}

void frmNewAlias::SetCommands(const std::vector<std::string>& commands) {
    ui_->cmbRep->SetItems(commands);
}

void frmNewAlias::cmdOK_Click() {
    Main& main = owner_.State();
    Prompter& prompter = owner_.Prompts();
    const std::string name = Name();
    const std::string command = Command();
    if (name.empty() || command.empty()) {
        WarnRequiredFields(prompter, main.EditMode);
        return;
    }
    if (RefuseCommas(prompter, {name, command}))
        return;
    if (main.EditMode != 0 && name == main.EditName && command == main.EditCommand) {
        main.DialogCancelled = true;
        hide();
        return;
    }
    const auto existing = ExistingRow(owner_, AliasList, name);
    if (!IsKnownCommand(command, owner_.Catalogue())) {
        const std::size_t before = owner_.Catalogue().size();
        OfferNewCommand(owner_.Host(), command, owner_.Catalogue());
        if (owner_.Catalogue().size() != before)
            ui_->cmbRep->AddItem(owner_.Catalogue().back());
    }
    if (!existing) {
        hide();
        return;
    }
    const std::string existingCommand = main.Lists[AliasList].At(*existing).sub[0];
    if (CompareNoCase(existingCommand, command) == 0) {
        // The alias is there already, as typed: nothing to add.
        ui_->txtAlias->setFocus();
        SetFields({}, {});
        hide();
        return;
    }
    const bool confirm = owner_.ConfirmChecked();
    Answer answer = Answer::Yes;
    if (confirm)
        answer = prompter.Show(MessageBox{"这个热键" + Blanks(6) + name + " 已经应用于 '" +
                                              existingCommand + "' 命令. 你想重新定义它吗?",
                                          Buttons::YesNoCancel, Icon::Information, "发现副本", 2});
    if (answer == Answer::Yes) {
        if (confirm)
            prompter.Message("这个热键" + Blanks(6) + name + " 现在引用 '" + command + "'.");
        hide();
    } else if (answer == Answer::No) {
        SelectName();
    } else {
        cmdCancel_Click();
    }
}

void frmNewAlias::cmdCancel_Click() {
    hide();
    Main& main = owner_.State();
    if (main.EditMode != 0) {
        main.DialogCancelled = true;
        SetFields(main.EditName, main.EditCommand);
    } else {
        SetFields({}, {});
    }
}

} // namespace nm
