#include "ui/SimpleComboBox.h"

#include "host/Utf8.h"

#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace nm {

SimpleComboBox::SimpleComboBox(QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), list_(new QListWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(edit_);
    layout->addWidget(list_);
    edit_->setObjectName("cmbRepText");
    list_->setObjectName("cmbRepList");
    list_->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(edit_);
    // Picking a command only fills the text.
    connect(list_, &QListWidget::currentTextChanged, edit_, [this](const QString& text) {
        if (!text.isEmpty())
            edit_->setText(text);
    });
}

std::string SimpleComboBox::Text() const {
    return edit_->text().toStdString();
}

void SimpleComboBox::SetText(const std::string& text) {
    edit_->setText(QString::fromStdString(text));
}

void SimpleComboBox::SelectAllText() {
    edit_->selectAll();
}

void SimpleComboBox::SetItems(std::vector<std::string> items) {
    std::stable_sort(items.begin(), items.end(), [](const std::string& a, const std::string& b) {
        return CompareNoCase(a, b) < 0;
    });
    const QSignalBlocker block(list_);
    list_->clear();
    for (const std::string& item : items)
        list_->addItem(QString::fromStdString(item));
}

void SimpleComboBox::AddItem(const std::string& item) {
    std::vector<std::string> items = Items();
    items.push_back(item);
    SetItems(std::move(items));
}

std::vector<std::string> SimpleComboBox::Items() const {
    std::vector<std::string> items;
    for (int i = 0; i < list_->count(); ++i)
        items.push_back(list_->item(i)->text().toStdString());
    return items;
}

} // namespace nm
