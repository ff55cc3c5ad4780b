#include "ui/frmNewAlias.h"

#include "ui_frmNewAlias.h"

#include "catalog/CommandCatalogue.h"
#include "ui/ListFont.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>

namespace nm {

frmNewAlias::frmNewAlias(QWidget* parent, FileSystem& files, const HostContext& host,
                         std::vector<std::string>& catalogue)
    : EntryForm(parent), ui_(std::make_unique<Ui::frmNewAlias>()), files_(files), host_(host),
      catalogue_(catalogue) {
    ui_->setupUi(this);
    ui_->txtAlias->setFont(ListFont());
    connect(ui_->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(ui_->cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    ui_->cmbRep->SetItems(catalogue_);
    // A screen reader names the field the user types in, and the list under it.
    ui_->cmbRep->Edit()->setAccessibleName(ui_->cmbRep->accessibleName());
    ui_->cmbRep->List()->setAccessibleName(QStringLiteral("Vectrom命令列表"));
    // The Clear key and Ctrl+Break in the command field cancel, as Esc does.
    ui_->cmbRep->Edit()->installEventFilter(this);
}

bool frmNewAlias::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Clear || key->key() == Qt::Key_Cancel ||
            (key->key() == Qt::Key_Pause && key->modifiers().testFlag(Qt::ControlModifier))) {
            cmdCancel_Click();
            return true;
        }
    }
    return EntryForm::eventFilter(watched, event);
}

frmNewAlias::~frmNewAlias() = default;

EntryFields frmNewAlias::Fields() const {
    return {ui_->txtAlias->text().toStdString(), ui_->cmbRep->Text(), {}, {}};
}

void frmNewAlias::SetFields(const EntryFields& fields) {
    ui_->txtAlias->setText(QString::fromStdString(fields.name));
    ui_->cmbRep->SetText(fields.command);
}

QLineEdit* frmNewAlias::NameField() const {
    return ui_->txtAlias;
}

void frmNewAlias::cmdOK_Click() {
    if (!check_)
        return;
    const auto offer = [this](const std::string& command) {
        const std::size_t before = catalogue_.size();
        OfferNewCommand(files_, host_, command, catalogue_);
        if (catalogue_.size() != before)
            ui_->cmbRep->AddItem(catalogue_.back());
    };
    Finish(AliasOk(*check_, Fields(), offer));
}

} // namespace nm
