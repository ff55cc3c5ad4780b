#include "frmNewShell.h"

#include "ui_frmNewShell.h"

#include "ListRows.h"
#include "RuntimeError.h"
#include "Text.h"
#include "frmAlias.h"
#include "frmNewAlias.h"

#include <QEvent>
#include <QTimer>

namespace nm {

namespace {

constexpr int FlagChoices = 16;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

frmNewShell::frmNewShell(frmAlias& owner)
    : QDialog(&owner), ui_(std::make_unique<Ui::frmNewShell>()), owner_(owner) {
    ui_->setupUi(this);
    const QFont font = ListFont();
    for (QWidget* input : std::initializer_list<QWidget*>{ui_->txtAlias, ui_->txtCommand,
                                                          ui_->comboFlag, ui_->txtPrompt})
        input->setFont(font);
    owner_.State().DialogCancelled = false;
    ui_->txtCommand->installEventFilter(this);
    ui_->txtPrompt->installEventFilter(this);
    connect(ui_->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(ui_->cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

frmNewShell::~frmNewShell() = default;

bool frmNewShell::eventFilter(QObject* watched, QEvent* event) {
    // The command and the prompt are selected whole when they get the focus.
    if (event->type() == QEvent::FocusIn)
        if (auto* edit = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, edit, &QLineEdit::selectAll);
    return QDialog::eventFilter(watched, event);
}

EntryFields frmNewShell::Fields() const {
    return {ui_->txtAlias->text().toStdString(), ui_->txtCommand->text().toStdString(),
            ui_->comboFlag->currentText().toStdString(), ui_->txtPrompt->text().toStdString()};
}

void frmNewShell::SetFlags(const std::string& flags) {
    while (ui_->comboFlag->count() > FlagChoices)
        ui_->comboFlag->removeItem(FlagChoices);
    int index = ui_->comboFlag->findText(Q(flags));
    if (index < 0) {
        ui_->comboFlag->addItem(Q(flags));
        index = FlagChoices;
    }
    ui_->comboFlag->setCurrentIndex(index);
}

void frmNewShell::SetFields(const EntryFields& fields) {
    ui_->txtAlias->setText(Q(fields.name));
    ui_->txtCommand->setText(Q(fields.command));
    ui_->txtPrompt->setText(Q(fields.prompt));
    SetFlags(fields.flags);
}

void frmNewShell::ClearTexts() {
    ui_->txtAlias->clear();
    ui_->txtCommand->clear();
    ui_->txtPrompt->clear();
}

void frmNewShell::SelectName() {
    ui_->txtAlias->setFocus();
    ui_->txtAlias->selectAll();
}

void frmNewShell::cmdOK_Click() {
    Main& main = owner_.State();
    Prompter& prompter = owner_.Prompts();
    try {
        const EntryFields typed = Fields();
        if (typed.name.empty()) {
            WarnRequiredFields(prompter, main.EditMode);
            return;
        }
        if (RefuseCommas(prompter, {typed.name, typed.command, typed.flags, typed.prompt}))
            return;
        if (main.EditMode != 0 && typed == EntryFields{main.EditName, main.EditCommand,
                                                       main.EditFlags, main.EditPrompt}) {
            main.DialogCancelled = true;
            hide();
            return;
        }
        if (typed.command.empty())
            prompter.Show(MessageBox{"你认可 Shell 命令字段为空.\r\n\r\n这个热键 '" + Blanks(5) +
                                         typed.name + "' 在 Vectrom 建立命令窗口.",
                                     Buttons::OK, Icon::Information, "无 Shell 命令", 1});
        const auto existing = ExistingRow(owner_, ShellList, typed.name);
        if (!existing) {
            hide();
            return;
        }
        const Row& row = main.Lists[ShellList].At(*existing);
        const bool commandDiffers = CompareNoCase(typed.command, row.sub[0]) != 0;
        const bool flagsDiffer = typed.flags != row.sub[1];
        const bool promptDiffers = CompareNoCase(typed.prompt, row.sub[2]) != 0;
        if (!commandDiffers && !flagsDiffer && !promptDiffers) {
            // The shell command is there already, as typed: nothing to add.
            ui_->txtAlias->setFocus();
            ClearTexts();
            hide();
            return;
        }
        const bool confirm = owner_.ConfirmChecked();
        Answer answer = Answer::Yes;
        if (confirm)
            answer = prompter.Show(
                MessageBox{"这个热键" + Blanks(6) + typed.name + "正在被使用. 你想重新定义它吗?",
                           Buttons::YesNoCancel, Icon::Information, "发现副本", 2});
        if (answer == Answer::Yes) {
            const auto part = [](bool differs, const std::string& value) {
                return differs ? "'" + value + "'" : std::string();
            };
            const std::string oldCommand = row.sub[0];
            const int key = row.key;
            owner_.ChangeRows(ShellList, [&] {
                if (const auto position = main.Lists[ShellList].FindKey(key)) {
                    main.Lists[ShellList].SetText(*position, MarkedName);
                    main.Lists[ShellList].Resort();
                }
            });
            if (confirm)
                prompter.Message(
                    "下列热键特性" + oldCommand + " 已被改变:\r\n\r\n新的 Shell 命令:" + Blanks(7) +
                    part(commandDiffers, typed.command) + "\r\n新的标记:" + Blanks(5) +
                    part(flagsDiffer, typed.flags) + "\r\n新的 Shell 提示:" + Blanks(6) +
                    part(promptDiffers, typed.prompt));
            hide();
        } else if (answer == Answer::No) {
            SelectName();
        } else {
            cmdCancel_Click();
        }
    } catch (const RuntimeError&) {
        // A failure ends the OK steps; the dialog stays open as it was.
    }
}

void frmNewShell::cmdCancel_Click() {
    hide();
    Main& main = owner_.State();
    if (main.EditMode != 0) {
        main.DialogCancelled = true;
        SetFields({main.EditName, main.EditCommand, main.EditFlags, main.EditPrompt});
    } else {
        ClearTexts();
    }
}

} // namespace nm
