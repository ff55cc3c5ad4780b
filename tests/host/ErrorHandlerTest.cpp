// The disk-error prompt, the error details box, and the step runner that
// every procedure's reaction table goes through.
#include "host/ErrorHandler.h"
#include "tests/support/Doubles.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace nm;
using test::ScriptedPrompter;

namespace {

// What the user saw of each box: text, buttons, icon and title.
using Boxes = std::vector<std::tuple<std::string, Buttons, Icon, std::string>>;
Boxes Seen(const ScriptedPrompter& prompter) {
    Boxes boxes;
    for (const auto& box : prompter.shown)
        boxes.emplace_back(box.text, box.buttons, box.icon, box.title.value_or("(none)"));
    return boxes;
}

} // namespace

TEST(FileErrorPrompt, ShowsTheDiskBoxAndMapsTheButtonToACode) {
    // The error number, the box's text (no box when empty) and buttons, the
    // button the user presses, and the code that comes back.
    const std::vector<std::tuple<std::int32_t, std::string, Buttons, Answer, FileErrorAction>>
        cases = {
            {52, "这个文件名非法.", Buttons::OK, Answer::OK, 2},
            {64, "这个文件名非法.", Buttons::OK, Answer::Closed, 3},
            {54, "访问类型不能打开这个文件.", Buttons::AbortRetryIgnore, Answer::Ignore, 1},
            {55, "文件已经打开.", Buttons::OK, Answer::OK, 2},
            {57, "一个内部磁盘错误发生.", Buttons::RetryCancel, Answer::Cancel, 2},
            {61, "磁盘满. 继续?", Buttons::AbortRetryIgnore, Answer::Abort, 2},
            {62, "这个文件有非标准的文件结束标记, 或尝试读取超过文件结束标记的内容.", Buttons::OK,
             Answer::OK, 2},
            {68, "这个设备无效.", Buttons::RetryCancel, Answer::Retry, 0},
            {71, "设备未准备好.", Buttons::RetryCancel, Answer::Retry, 0},
            {76, "这个路径不存在.", Buttons::OK, Answer::OK, 2},
            {53, "", Buttons::OK, Answer::OK, 3},
            {75, "", Buttons::OK, Answer::OK, 3},
        };
    for (const auto& [number, text, buttons, answer, code] : cases) {
        ScriptedPrompter prompter;
        prompter.answers = {answer};
        EXPECT_EQ(FileErrorPrompt(prompter, number), code) << number;
        EXPECT_EQ(Seen(prompter),
                  (text.empty() ? Boxes{} : Boxes{{text, buttons, Icon::Exclamation, "磁盘错误"}}));
    }
}

TEST(ErrorDetails, BeepsAndShowsDescriptionAndNumber) {
    ScriptedPrompter prompter;
    ShowErrorDetails(prompter, RuntimeError(61));
    EXPECT_EQ(prompter.beeps, 1);
    EXPECT_EQ(Seen(prompter), (Boxes{{"产生下列错误:\r\n\r\nDisk full\r\n数值:      61",
                                      Buttons::OK, Icon::Information, "Disk full"}}));
}

TEST(RunSteps, ReactsToTheErrorOfAStep) {
    using enum Action;
    // What each of three steps raises on its first run, the answers to the
    // disk-error prompt, the log and the outcome. Steps log "s<i> ", errors
    // "! " and the table's messages "m ". A retry starts over and the
    // interrupted run does not go on; a cancelled dialog is settled without a
    // prompt; giving up in the last step ends.
    const std::vector<
        std::tuple<std::vector<std::int32_t>, std::vector<Answer>, std::string, Outcome>>
        cases = {
            {{0, 0, 0}, {}, "s0 s1 s2 ", Outcome::Completed},
            {{0, 61, 0}, {Answer::Retry}, "s0 s1 ! m s0 s1 s2 ", Outcome::CompletedWithErrors},
            {{0, 61, 0}, {Answer::Ignore}, "s0 s1 ! m s1 s2 ", Outcome::CompletedWithErrors},
            {{0, 61, 0}, {Answer::Abort}, "s0 s1 ! m s2 ", Outcome::CompletedWithErrors},
            {{0, 61, 0}, {Answer::Closed}, "s0 s1 ! m ", Outcome::Ended},
            {{0, Err::DialogCancelled, 0}, {}, "s0 s1 ! s2 ", Outcome::CompletedWithErrors},
            {{0, 0, 61}, {Answer::Abort}, "s0 s1 s2 ! ", Outcome::Ended},
            {{0, 0, 61}, {Answer::Retry}, "s0 s1 s2 ! m s0 s1 s2 ", Outcome::CompletedWithErrors},
        };
    std::string log;
    const auto m = [&log](Prompter&, const RuntimeError&) { log += "m "; };
    ReactionTable table;
    table.byCode = {{{RetryOperation, m}, {RunStepAgain, m}, {NextStep, m}, {End, m}}};
    table.onError = [&log] { log += "! "; };
    table.settle = [](const RuntimeError& e) {
        return e.Number() == Err::DialogCancelled ? std::optional(Reaction{NextStep, nullptr})
                                                  : std::nullopt;
    };
    table.forStep = [](std::size_t step, FileErrorAction code) {
        return step == 2 && code == Code::GiveUp ? std::optional(Reaction{End, nullptr})
                                                 : std::nullopt;
    };
    for (auto [errors, answers, expected, outcome] : cases) {
        std::vector<Step> steps;
        for (std::size_t i = 0; i < errors.size(); ++i)
            steps.push_back([&, i] {
                log += "s" + std::to_string(i) + " ";
                if (const std::int32_t number = std::exchange(errors[i], 0))
                    throw RuntimeError(number);
            });
        ScriptedPrompter prompter;
        prompter.answers.assign(answers.begin(), answers.end());
        log.clear();
        EXPECT_EQ(RunSteps(prompter, steps, table), outcome) << expected;
        EXPECT_EQ(log, expected);
        EXPECT_EQ(prompter.shown.size(), answers.size()) << expected;
    }
}
