// A combo box whose list stays open beneath its edit field: the user types a
// command or picks one of the list, which is kept in alphabetical order.
#pragma once

#include <QWidget>

#include <string>
#include <vector>

class QLineEdit;
class QListWidget;

namespace nm {

class SimpleComboBox final : public QWidget {
    Q_OBJECT
public:
    explicit SimpleComboBox(QWidget* parent = nullptr);

    std::string Text() const;
    void SetText(const std::string& text);
    void SelectAllText();
    // The list's items, sorted.
    void SetItems(std::vector<std::string> items);
    void AddItem(const std::string& item);
    std::vector<std::string> Items() const;

    QLineEdit* Edit() const { return edit_; }
    QListWidget* List() const { return list_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* edit_;
    QListWidget* list_;
};

} // namespace nm
