#include "ui/frmAbout.h"

#include "ui_frmAbout.h"

#include <QPainter>
#include <QPixmap>

namespace nm {

namespace {

// A key cap with the host's initial: the editor's picture.
QPixmap KeyCap() {
    QPixmap picture(64, 64);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(60, 60, 70), 2));
    painter.setBrush(QColor(230, 232, 238));
    painter.drawRoundedRect(QRectF(4, 4, 56, 56), 8, 8);
    painter.setBrush(QColor(250, 250, 252));
    painter.drawRoundedRect(QRectF(11, 9, 42, 40), 6, 6);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(26);
    painter.setFont(font);
    painter.setPen(QColor(30, 70, 140));
    painter.drawText(QRectF(11, 9, 42, 40), Qt::AlignCenter, "V");
    return picture;
}

} // namespace

QString VersionText(int major, int minor, int revision) {
    return QString("版本      %1.%2.%3").arg(major).arg(minor).arg(revision);
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::frmAbout>()) {
    ui_->setupUi(this);
    ui_->Picture1->setPixmap(KeyCap());
    ui_->lblVersion->setText(
        VersionText(NICKMAKER_VERSION_MAJOR, NICKMAKER_VERSION_MINOR, NICKMAKER_VERSION_PATCH));
    QFont bold = ui_->lblMain->font();
    bold.setBold(true);
    ui_->lblMain->setFont(bold);
    ui_->lblMain->setText("Vectrom  热键编辑器");
    ui_->lblNotice->setText("本程序按原样提供, 不附带任何担保. 保存前请保留你的 vtrm.pgp 的备份; "
                            "勾选\"确认修改\"时编辑器会自动保留一份.");
    connect(ui_->cmdOk, &QPushButton::clicked, this, &QDialog::accept);
}

frmAbout::~frmAbout() = default;

} // namespace nm
