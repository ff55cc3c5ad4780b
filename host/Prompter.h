// The person at the screen: message boxes, the system beep and the busy pointer.
#pragma once

#include <optional>
#include <string>

namespace nm {

enum class Buttons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Answer { OK, Cancel, Abort, Retry, Ignore, Yes, No, Closed };

// One message box. Texts use CR LF for line breaks and keep their trailing
// blanks. An absent title means the program's own title.
struct MessageBox {
    std::string text;
    Buttons buttons = Buttons::OK;
    Icon icon = Icon::None;
    std::optional<std::string> title;
    int defaultButton = 1; // 1-based position of the default button
};

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual Answer Show(const MessageBox& box) = 0;
    virtual void Beep() = 0;
    // The hourglass mouse pointer over the whole screen (true) or the default one.
    virtual void SetBusy(bool busy) = 0;

    // Shorthand for the common box with an OK button.
    Answer Message(std::string text, Icon icon = Icon::None,
                   std::optional<std::string> title = std::nullopt) {
        return Show(MessageBox{std::move(text), Buttons::OK, icon, std::move(title), 1});
    }
};

// The answer when nobody is there to press a button: Yes to a question, and
// giving up (Abort, Cancel, OK) on an error, so that no failing step is
// retried for ever.
inline Answer UnattendedAnswer(Buttons buttons) {
    switch (buttons) {
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        return Answer::Yes;
    case Buttons::AbortRetryIgnore:
        return Answer::Abort;
    case Buttons::OKCancel:
    case Buttons::RetryCancel:
        return Answer::Cancel;
    case Buttons::OK:
        return Answer::OK;
    }
    return Answer::OK;
}

// Unattended answers, shown nowhere: for work without a person that reports
// in its own words, or not at all.
class SilentPrompter final : public Prompter {
public:
    Answer Show(const MessageBox& box) override { return UnattendedAnswer(box.buttons); }
    void Beep() override {}
    void SetBusy(bool) override {}
};

// The busy pointer for the life of a scope, restored however the scope ends.
class BusyPointer {
public:
    explicit BusyPointer(Prompter& prompter) : prompter_(prompter) { prompter_.SetBusy(true); }
    ~BusyPointer() { prompter_.SetBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Prompter& prompter_;
};

} // namespace nm
