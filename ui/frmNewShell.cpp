#include "ui/frmNewShell.h"

#include "ui_frmNewShell.h"

#include "ui/ListFont.h"

#include <QEvent>
#include <QTimer>

namespace nm {

namespace {

constexpr int FlagChoices = 16;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

frmNewShell::frmNewShell(QWidget* parent)
    : EntryForm(parent), ui_(std::make_unique<Ui::frmNewShell>()) {
    ui_->setupUi(this);
    const QFont font = ListFont();
    for (QWidget* input : std::initializer_list<QWidget*>{ui_->txtAlias, ui_->txtCommand,
                                                          ui_->comboFlag, ui_->txtPrompt})
        input->setFont(font);
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
    return EntryForm::eventFilter(watched, event);
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

QLineEdit* frmNewShell::NameField() const {
    return ui_->txtAlias;
}

void frmNewShell::cmdOK_Click() {
    if (check_)
        Finish(ShellOk(*check_, Fields()));
}

} // namespace nm
