#include "ui/EntryForm.h"

#include <QLineEdit>

namespace nm {

void EntryForm::Prepare(const EntryCheck& check, const EntryFields& fields) {
    check_.emplace(check);
    answer_ = EntryAnswer{EntryOutcome::Cancelled, fields};
    SetFields(fields);
    SelectName();
}

void EntryForm::SelectName() {
    NameField()->setFocus();
    NameField()->selectAll();
}

void EntryForm::Finish(const EntryAnswer& answer) {
    answer_ = answer;
    if (answer.outcome != EntryOutcome::Stay) {
        SetFields(answer.fields);
        hide();
    } else if (answer.selectName) {
        SelectName();
    }
}

void EntryForm::cmdCancel_Click() {
    if (check_)
        Finish(EntryCancel(*check_, Fields()));
    else
        hide();
}

} // namespace nm
