// The Qt message boxes, busy pointer and file filters, examined without running a dialog.
#include "ui/QtFileDialogs.h"
#include "ui/QtPrompter.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

using nm::Answer;
using nm::Buttons;
using nm::Icon;
using SB = QMessageBox::StandardButton;

namespace {

// The answer after the user presses Escape in the shown box.
Answer EscapeAnswer(QMessageBox& box) {
    box.show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&box, &escape);
    return nm::ClickedAnswer(box);
}

} // namespace

TEST(QtPrompter, BoxesHaveTheirButtonsInOrderAndAnswerWithThem) {
    const std::map<SB, Answer> answers = {
        {SB::Ok, Answer::OK},       {SB::Cancel, Answer::Cancel}, {SB::Abort, Answer::Abort},
        {SB::Retry, Answer::Retry}, {SB::Ignore, Answer::Ignore}, {SB::Yes, Answer::Yes},
        {SB::No, Answer::No}};
    // The set, the default-button number, the buttons present, the default that number gives
    // (so the order), and what Escape answers.
    const std::vector<std::tuple<Buttons, int, QMessageBox::StandardButtons, SB, Answer>> cases = {
        {Buttons::OK, 1, SB::Ok, SB::Ok, Answer::OK},
        {Buttons::OKCancel, 2, SB::Ok | SB::Cancel, SB::Cancel, Answer::Cancel},
        {Buttons::AbortRetryIgnore, 2, SB::Abort | SB::Retry | SB::Ignore, SB::Retry,
         Answer::Closed},
        {Buttons::AbortRetryIgnore, 3, SB::Abort | SB::Retry | SB::Ignore, SB::Ignore,
         Answer::Closed},
        {Buttons::YesNoCancel, 2, SB::Yes | SB::No | SB::Cancel, SB::No, Answer::Cancel},
        {Buttons::YesNoCancel, 3, SB::Yes | SB::No | SB::Cancel, SB::Cancel, Answer::Cancel},
        {Buttons::YesNo, 1, SB::Yes | SB::No, SB::Yes, Answer::No},
        {Buttons::YesNo, 3, SB::Yes | SB::No, SB::Yes, Answer::No},
        {Buttons::RetryCancel, 2, SB::Retry | SB::Cancel, SB::Cancel, Answer::Cancel}};
    for (const auto& [buttons, number, present, defaultButton, onEscape] : cases) {
        const nm::MessageBox message{"?", buttons, Icon::Question, "t", number};
        const auto box = nm::BuildMessageBox(message, nullptr, "p");
        EXPECT_EQ(box->standardButtons(), present) << number;
        EXPECT_EQ(box->standardButton(box->defaultButton()), defaultButton) << number;
        for (const auto& [button, answer] : answers) {
            if (!present.testFlag(button))
                continue;
            const auto pressed = nm::BuildMessageBox(message, nullptr, "p");
            pressed->button(button)->click();
            EXPECT_EQ(nm::ClickedAnswer(*pressed), answer) << number;
        }
        EXPECT_EQ(EscapeAnswer(*box), onEscape) << number;
        // A box without a way out stays until a button is pressed.
        EXPECT_EQ(box->close(), onEscape != Answer::Closed) << number;
    }
}

TEST(QtPrompter, BoxesShowTitleTextAndIconAsGiven) {
    const QString program = "Vectrom 热键编辑器       ";
    const std::vector<std::tuple<std::optional<std::string>, std::string, Icon, QString, QString,
                                 QMessageBox::Icon>>
        cases = {{std::nullopt, "确认     ", Icon::None, program, "确认     ", QMessageBox::NoIcon},
                 {"磁盘错误  ", "磁盘满. 继续?\r\n\r\n  ", Icon::Exclamation, "磁盘错误  ",
                  "磁盘满. 继续?\n\n  ", QMessageBox::Warning},
                 {"", "<b>A</b>\r\n", Icon::Critical, "", "<b>A</b>\n", QMessageBox::Critical},
                 {"t", "a\rb", Icon::Question, "t", "a\rb", QMessageBox::Question},
                 {"t", "", Icon::Information, "t", "", QMessageBox::Information}};
    for (const auto& [title, text, icon, shownTitle, shownText, shownIcon] : cases) {
        const auto box = nm::BuildMessageBox({text, Buttons::OK, icon, title, 1}, nullptr, program);
        EXPECT_EQ(box->windowTitle(), shownTitle);
        EXPECT_EQ(box->text(), shownText);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->icon(), shownIcon);
    }
}

TEST(QtPrompter, BusyPointerIsPushedOnceAndOnlyItsOwnIsRemoved) {
    const auto shape = [] { return QApplication::overrideCursor()->shape(); };
    QApplication::setOverrideCursor(Qt::PointingHandCursor); // another part's pointer
    {
        nm::QtPrompter prompter(nullptr, "p");
        prompter.SetBusy(false);
        EXPECT_EQ(shape(), Qt::PointingHandCursor);
        prompter.SetBusy(true);
        prompter.SetBusy(true);
        EXPECT_EQ(shape(), Qt::WaitCursor);
        prompter.SetBusy(false);
        EXPECT_EQ(shape(), Qt::PointingHandCursor);
        prompter.SetBusy(true);
    }
    EXPECT_EQ(shape(), Qt::PointingHandCursor);
    QApplication::restoreOverrideCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtFileDialogs, FiltersBecomeQtFilters) {
    const std::vector<std::pair<std::string, QString>> cases = {
        {"Vectrom Program Parameter Files |*.pgp", "Vectrom Program Parameter Files (*.pgp)"},
        {"X|*.pgp", "X (*.pgp)"},
        {"Vectrom 程序参数文件 |*.pgp|Text Files |*.txt|All Files |*.*",
         "Vectrom 程序参数文件 (*.pgp);;Text Files (*.txt);;All Files (*.*)"},
        {"Lists  |*.pgp;*.txt|", "Lists  (*.pgp *.txt)"},
        {"A|*.a|Loose", "A (*.a);;Loose"},
        {"", ""}};
    for (const auto& [bars, filter] : cases)
        EXPECT_EQ(nm::QtFilter(bars), filter) << bars;
}
