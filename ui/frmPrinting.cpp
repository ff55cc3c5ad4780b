#include "ui/frmPrinting.h"

#include "ui_frmPrinting.h"

namespace nm {

frmPrinting::frmPrinting(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool), ui_(std::make_unique<Ui::frmPrinting>()),
      mainWindow_(mainWindow) {
    ui_->setupUi(this);
}

frmPrinting::~frmPrinting() = default;

void frmPrinting::Show(const std::string& printing) {
    const QRect main = mainWindow_->geometry();
    move(main.x() + (main.width() - width()) / 2, main.y() + (main.height() - height()) / 2);
    ui_->lblPrinting->setText(QString::fromStdString(printing));
    show();
    repaint();
}

void frmPrinting::SetPage(const std::string& page) {
    ui_->lblPage->setText(QString::fromStdString(page));
    ui_->lblPage->repaint();
}

void frmPrinting::Hide() {
    hide();
}

} // namespace nm
