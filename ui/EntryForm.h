// What the two entry dialogs share: the check their OK applies for one
// showing, and how a showing ends with the core's answer.
#pragma once

#include "core/Entries.h"

#include <QDialog>

#include <optional>

class QLineEdit;

namespace nm {

class EntryForm : public QDialog {
public:
    using QDialog::QDialog;

    virtual EntryFields Fields() const = 0;
    // Before a showing: the check OK applies and the fields to show, with the
    // cursor in the name, which is selected whole.
    void Prepare(const EntryCheck& check, const EntryFields& fields);
    // How the dialog last closed.
    const EntryAnswer& Answer() const { return answer_; }

    void cmdCancel_Click();

protected:
    void reject() override { cmdCancel_Click(); }
    virtual void SetFields(const EntryFields& fields) = 0;
    virtual QLineEdit* NameField() const = 0;
    // Shows what the entry rules answered; closes unless the dialog stays.
    void Finish(const EntryAnswer& answer);

    std::optional<EntryCheck> check_;

private:
    void SelectName();

    EntryAnswer answer_;
};

} // namespace nm
