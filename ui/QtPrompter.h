// The person at the screen through Qt: message boxes, the system beep and the
// busy pointer of the desktop editor.
#pragma once

#include "host/Prompter.h"

#include <QMessageBox>
#include <QString>

#include <memory>
#include <utility>

class QWidget;

namespace nm {

// The box that Show() runs, built but not shown. Escape answers Cancel or No
// where the box has one, OK on a box with only OK, and does nothing on the
// abort, retry and ignore question, which must be answered with a button.
std::unique_ptr<QMessageBox> BuildMessageBox(const MessageBox& box, QWidget* parent,
                                             const QString& programTitle);

// The answer of a box that has closed: the button pressed, or Closed when none was.
Answer ClickedAnswer(const QMessageBox& box);

class QtPrompter final : public Prompter {
public:
    // `programTitle` titles every box that has no title of its own.
    QtPrompter(QWidget* parent, QString programTitle)
        : parent_(parent), programTitle_(std::move(programTitle)) {}
    ~QtPrompter() override { SetBusy(false); }
    QtPrompter(const QtPrompter&) = delete;
    QtPrompter& operator=(const QtPrompter&) = delete;

    Answer Show(const MessageBox& box) override;
    void Beep() override;
    void SetBusy(bool busy) override;

private:
    QWidget* parent_;
    QString programTitle_;
    bool busy_ = false; // whether this prompter has a pointer on the cursor stack
};

} // namespace nm
