#include "ui/SimpleComboBox.h"

#include "host/Utf8.h"

#include <QKeyEvent>
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
    // Picking a command only fills the text; a click on the command already
    // highlighted does too.
    connect(list_, &QListWidget::currentTextChanged, edit_, [this](const QString& text) {
        if (!text.isEmpty())
            edit_->setText(text);
    });
    connect(list_, &QListWidget::itemClicked, edit_,
            [this](const QListWidgetItem* item) { edit_->setText(item->text()); });
    // Typing shows the first command that starts with the text typed, without
    // changing the text; Up and Down in the field move through the list.
    connect(edit_, &QLineEdit::textEdited, list_, [this](const QString& text) {
        const QSignalBlocker block(list_);
        for (int i = 0; !text.isEmpty() && i < list_->count(); ++i)
            if (list_->item(i)->text().startsWith(text, Qt::CaseInsensitive)) {
                list_->setCurrentRow(i);
                list_->scrollToItem(list_->item(i), QAbstractItemView::PositionAtTop);
                return;
            }
    });
    edit_->installEventFilter(this);
}

bool SimpleComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress && list_->count() > 0) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            const int row = list_->currentRow() + (key == Qt::Key_Down ? 1 : -1);
            list_->setCurrentRow(std::clamp(row, 0, list_->count() - 1));
            edit_->setText(list_->currentItem()->text());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
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
