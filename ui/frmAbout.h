// The about box: the editor's name and version, made anew for each showing.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class frmAbout;
}

namespace nm {

// The version line, "版本", six blanks and major.minor.revision.
QString VersionText(int major, int minor, int revision);

class frmAbout final : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent);
    ~frmAbout() override;

private:
    std::unique_ptr<Ui::frmAbout> ui_;
};

} // namespace nm
