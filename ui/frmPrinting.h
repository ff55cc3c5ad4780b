// The small window that shows which file is being printed and the page count.
#pragma once

#include "core/Printing.h"

#include <QWidget>

#include <memory>

namespace Ui {
class frmPrinting;
}

namespace nm {

class frmPrinting final : public QWidget, public PrintProgress {
    Q_OBJECT
public:
    explicit frmPrinting(QWidget* mainWindow);
    ~frmPrinting() override;

    void Show(const std::string& printing) override;
    void SetPage(const std::string& page) override;
    void Hide() override;

private:
    std::unique_ptr<Ui::frmPrinting> ui_;
    QWidget* mainWindow_;
};

} // namespace nm
