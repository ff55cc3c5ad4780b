#include "EntryDialogBox.h"

#include "frmAlias.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace nm {

namespace {

std::string S(const QString& text) {
    return text.toStdString();
}
QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

EntryDialogBox::EntryDialogBox(frmAlias& window) : window_(window) {}

EntryDialogBox::~EntryDialogBox() {
    for (Page& page : pages_)
        delete page.dialog;
}

EntryDialogBox::Page& EntryDialogBox::Make(int index) {
    Page& page = pages_.at(static_cast<std::size_t>(index));
    if (page.dialog)
        return page;
    page.dialog = new QDialog(&window_);
    page.dialog->setObjectName(index == AliasList ? "frmNewAlias" : "frmNewShell");
    auto* form = new QFormLayout(page.dialog);
    page.name = new QLineEdit(page.dialog);
    page.name->setObjectName("txtAlias");
    form->addRow("热键:", page.name);
    page.command = new QComboBox(page.dialog);
    page.command->setEditable(true);
    page.command->setObjectName(index == AliasList ? "cmbRep" : "txtCommand");
    form->addRow(index == AliasList ? "Vectrom 命令:" : "命令:", page.command);
    if (index == ShellList) {
        page.flags = new QComboBox(page.dialog);
        page.flags->setObjectName("comboFlag");
        for (int flag = 0; flag <= 15; ++flag)
            page.flags->addItem(QString::number(flag));
        form->addRow("标记:", page.flags);
        page.prompt = new QLineEdit(page.dialog);
        page.prompt->setObjectName("txtPrompt");
        form->addRow("提示:", page.prompt);
    }
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, page.dialog);
    buttons->button(QDialogButtonBox::Ok)->setText("确认");
    buttons->button(QDialogButtonBox::Cancel)->setText("取消");
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, page.dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, page.dialog, &QDialog::reject);
    // OK only while the entry has what its list needs.
    const auto check = [this, index, &page, buttons] {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(EntryComplete(index, Read(page)));
    };
    QObject::connect(page.name, &QLineEdit::textChanged, page.dialog, check);
    QObject::connect(page.command, &QComboBox::editTextChanged, page.dialog, check);
    return page;
}

EntryFields EntryDialogBox::Read(const Page& page) const {
    EntryFields fields;
    fields.name = S(page.name->text());
    fields.command = S(page.command->currentText());
    if (page.flags)
        fields.flags = S(page.flags->currentText());
    if (page.prompt)
        fields.prompt = S(page.prompt->text());
    return fields;
}

EntryFields EntryDialogBox::Show(int index, const std::string& caption, const EntryFields& fields,
                                 bool editing) {
    Page& page = Make(index);
    page.dialog->setWindowTitle(Q(caption));
    if (index == AliasList) {
        std::vector<std::string> names = window_.Catalogue();
        std::sort(names.begin(), names.end());
        page.command->clear();
        for (const std::string& name : names)
            page.command->addItem(Q(name));
    }
    page.name->setText(Q(fields.name));
    page.name->selectAll();
    page.command->setEditText(Q(fields.command));
    if (page.flags)
        page.flags->setCurrentText(Q(fields.flags.empty() ? "0" : fields.flags));
    if (page.prompt)
        page.prompt->setText(Q(fields.prompt));
    page.name->setFocus();
    Main& main = window_.State();
    main.DialogCancelled = false;
    if (window_.ShowModalCentred(page.dialog) != QDialog::Accepted) {
        if (editing)
            main.DialogCancelled = true;
        Clear(index);
        return {};
    }
    const EntryFields result = Read(page);
    // An edit that changed nothing leaves the row alone.
    if (editing && result == fields)
        main.DialogCancelled = true;
    return result;
}

void EntryDialogBox::Clear(int index) {
    Page& page = Make(index);
    page.name->clear();
    page.command->setEditText({});
    if (page.flags)
        page.flags->setCurrentText("0");
    if (page.prompt)
        page.prompt->clear();
}

} // namespace nm
