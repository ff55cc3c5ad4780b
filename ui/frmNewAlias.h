// The command-alias dialog: an alias name and the host command it stands for.
// On OK it applies the core's entry rules against the alias list and offers an
// unknown command to the command catalogue; it hands back the answer and
// changes no row itself.
#pragma once

#include "host/Locator.h"
#include "ui/EntryForm.h"

#include <memory>
#include <string>
#include <vector>

namespace Ui {
class frmNewAlias;
}

namespace nm {

class frmNewAlias final : public EntryForm {
    Q_OBJECT
public:
    // `catalogue` is the command catalogue, grown by the new-command offer.
    frmNewAlias(QWidget* parent, FileSystem& files, const HostContext& host,
                std::vector<std::string>& catalogue);
    ~frmNewAlias() override;

    EntryFields Fields() const override;
    void cmdOK_Click();

protected:
    void SetFields(const EntryFields& fields) override;
    QLineEdit* NameField() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::frmNewAlias> ui_;
    FileSystem& files_;
    const HostContext& host_;
    std::vector<std::string>& catalogue_;
};

} // namespace nm
