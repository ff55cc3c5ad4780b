#include "host/ErrorHandler.h"

#include "host/Utf8.h"

namespace nm {

namespace {

struct DiskMessage {
    std::int32_t number;
    const char* text;
    Buttons buttons;
};

constexpr DiskMessage DiskMessages[] = {
    {52, "这个文件名非法.", Buttons::OK},
    {64, "这个文件名非法.", Buttons::OK},
    {54, "访问类型不能打开这个文件.", Buttons::AbortRetryIgnore},
    {55, "文件已经打开.", Buttons::OK},
    {57, "一个内部磁盘错误发生.", Buttons::RetryCancel},
    {61, "磁盘满. 继续?", Buttons::AbortRetryIgnore},
    {62, "这个文件有非标准的文件结束标记, 或尝试读取超过文件结束标记的内容.", Buttons::OK},
    {68, "这个设备无效.", Buttons::RetryCancel},
    {71, "设备未准备好.", Buttons::RetryCancel},
    {76, "这个路径不存在.", Buttons::OK},
};

} // namespace

FileErrorAction FileErrorPrompt(Prompter& prompter, std::int32_t number) {
    for (const auto& entry : DiskMessages) {
        if (entry.number != number)
            continue;
        const Answer answer =
            prompter.Show(MessageBox{entry.text, entry.buttons, Icon::Exclamation, "磁盘错误", 1});
        switch (answer) {
        case Answer::OK:
        case Answer::Cancel:
        case Answer::Abort:
            return Code::GiveUp;
        case Answer::Retry:
            return Code::Retry;
        case Answer::Ignore:
            return Code::Ignore;
        default:
            return Code::Unknown;
        }
    }
    return Code::Unknown;
}

void ShowErrorDetails(Prompter& prompter, const RuntimeError& error) {
    const std::string text = "产生下列错误:\r\n\r\n" + error.Description() +
                             "\r\n数值:" + Blanks(6) + std::to_string(error.Number());
    prompter.Beep();
    prompter.Show(MessageBox{text, Buttons::OK, Icon::Information, error.Description(), 1});
}

void AbortProgram(Prompter& prompter) {
    prompter.Message("内部错误. 中止.");
    throw ProgramEnd{};
}

std::function<void(Prompter&, const RuntimeError&)> ShowText(std::string text) {
    return [text = std::move(text)](Prompter& p, const RuntimeError&) { p.Message(text); };
}

std::function<void(Prompter&, const RuntimeError&)> ShowNumber(std::string before,
                                                               std::string after) {
    return
        [before = std::move(before), after = std::move(after)](Prompter& p, const RuntimeError& e) {
            p.Message(before + std::to_string(e.Number()) + after);
        };
}

std::function<void(Prompter&, const RuntimeError&)> ShowDetails() {
    return [](Prompter& p, const RuntimeError& e) { ShowErrorDetails(p, e); };
}

std::optional<Reaction> EndWhenCancelled(const RuntimeError& error) {
    if (error.Number() == Err::DialogCancelled)
        return Reaction{Action::End, nullptr};
    return std::nullopt;
}

Outcome RunSteps(Prompter& prompter, std::span<const Step> steps, const ReactionTable& table) {
    bool hadError = false;
    std::size_t i = 0;
    while (i < steps.size()) {
        try {
            steps[i]();
            ++i;
            continue;
        } catch (const RuntimeError& error) {
            hadError = true;
            if (table.onError)
                table.onError();
            std::optional<Reaction> reaction;
            if (table.settle)
                reaction = table.settle(error);
            if (!reaction) {
                const FileErrorAction code = FileErrorPrompt(prompter, error.Number());
                if (code < 0 || code > 3)
                    AbortProgram(prompter);
                if (table.forStep)
                    reaction = table.forStep(i, code);
                if (!reaction)
                    reaction = table.byCode[static_cast<std::size_t>(code)];
            }
            if (reaction->message)
                reaction->message(prompter, error);
            switch (reaction->action) {
            case Action::RetryOperation:
                i = 0;
                break;
            case Action::RunStepAgain:
                break;
            case Action::NextStep:
                ++i;
                break;
            case Action::End:
                return Outcome::Ended;
            }
        }
    }
    return hadError ? Outcome::CompletedWithErrors : Outcome::Completed;
}

} // namespace nm
