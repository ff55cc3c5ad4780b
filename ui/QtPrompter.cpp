#include "ui/QtPrompter.h"

#include "ui/WaitingForTheUser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QKeySequence>

#include <vector>

namespace nm {

namespace {

// Qt makes the Abort button the way out of an abort, retry and ignore box,
// but there the program must learn which of the three the user wants: without
// an escape button of its own, the box ignores Escape and the close button.
class MessageBoxWithoutEscape final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (!escapeButton() && event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (!escapeButton()) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }
};

struct ButtonSet {
    std::vector<QMessageBox::StandardButton> order; // as the defaultButton number counts
    QMessageBox::StandardButton escape;
};

ButtonSet ButtonsOf(Buttons buttons) {
    using B = QMessageBox::StandardButton;
    switch (buttons) {
    case Buttons::OK:
        return {{B::Ok}, B::Ok};
    case Buttons::OKCancel:
        return {{B::Ok, B::Cancel}, B::Cancel};
    case Buttons::AbortRetryIgnore:
        return {{B::Abort, B::Retry, B::Ignore}, B::NoButton};
    case Buttons::YesNoCancel:
        return {{B::Yes, B::No, B::Cancel}, B::Cancel};
    case Buttons::YesNo:
        return {{B::Yes, B::No}, B::No};
    case Buttons::RetryCancel:
        return {{B::Retry, B::Cancel}, B::Cancel};
    }
    return {{B::Ok}, B::Ok};
}

QMessageBox::Icon IconOf(Icon icon) {
    switch (icon) {
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

std::unique_ptr<QMessageBox> BuildMessageBox(const MessageBox& box, QWidget* parent,
                                             const QString& programTitle) {
    auto dialog = std::make_unique<MessageBoxWithoutEscape>(parent);
    dialog->setWindowTitle(box.title ? QString::fromStdString(*box.title) : programTitle);
    // Plain text: a message quoting a file name or command must not turn into markup.
    dialog->setTextFormat(Qt::PlainText);
    dialog->setText(
        QString::fromStdString(box.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    dialog->setIcon(IconOf(box.icon));
    const ButtonSet set = ButtonsOf(box.buttons);
    for (const auto button : set.order)
        dialog->addButton(button);
    // A number past the last button falls back to the first, as the platform's boxes do.
    const bool inRange =
        box.defaultButton >= 1 && static_cast<std::size_t>(box.defaultButton) <= set.order.size();
    dialog->setDefaultButton(set.order[inRange ? box.defaultButton - 1 : 0]);
    if (set.escape != QMessageBox::NoButton)
        dialog->setEscapeButton(set.escape);
    return dialog;
}

Answer ClickedAnswer(const QMessageBox& box) {
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
        return Answer::OK;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Abort:
        return Answer::Abort;
    case QMessageBox::Retry:
        return Answer::Retry;
    case QMessageBox::Ignore:
        return Answer::Ignore;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Closed;
    }
}

Answer QtPrompter::Show(const MessageBox& box) {
    const ArrowWhileWaiting arrow;
    const auto dialog = BuildMessageBox(box, ActiveParent(parent_), programTitle_);
    dialog->exec();
    return ClickedAnswer(*dialog);
}

void QtPrompter::Beep() {
    QApplication::beep();
}

void QtPrompter::SetBusy(bool busy) {
    if (busy == busy_)
        return;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
    busy_ = busy;
}

} // namespace nm
