// The disk-error prompt, the error details box, the step runner that every
// procedure's reaction table goes through, and the open dialog that insists
// on an existing file.
#include "ErrorHandler.h"
#include "Doubles.h"
#include "RuntimeError.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

using nm::Action;
using nm::Answer;
using nm::Buttons;
using nm::Icon;
using nm::Outcome;
using nm::RuntimeError;
using nm::test::ScriptedPrompter;

TEST(FileErrorPrompt, ShowsTheDiskBoxOfEachFileError) {
    struct Case {
        std::int32_t number;
        std::string text;
        Buttons buttons;
    };
    const std::vector<Case> cases = {
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        ScriptedPrompter prompter;
        nm::FileErrorPrompt(prompter, c.number);
        ASSERT_EQ(prompter.shown.size(), 1u);
        const auto& box = prompter.shown[0];
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.buttons, c.buttons);
        EXPECT_EQ(box.icon, Icon::Exclamation);
        EXPECT_EQ(box.title, "磁盘错误");
    }
}

TEST(FileErrorPrompt, MapsTheButtonPressedToAnActionCode) {
    struct Case {
        std::int32_t number;
        Answer answer;
        nm::FileErrorAction expected;
    };
    const std::vector<Case> cases = {{61, Answer::Retry, 0},  {61, Answer::Ignore, 1},
                                     {61, Answer::Abort, 2},  {57, Answer::Retry, 0},
                                     {57, Answer::Cancel, 2}, {52, Answer::OK, 2},
                                     {76, Answer::OK, 2},     {54, Answer::Ignore, 1},
                                     {54, Answer::Closed, 3}, {62, Answer::Closed, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.number << " answered " << static_cast<int>(c.answer));
        ScriptedPrompter prompter;
        prompter.answers = {c.answer};
        EXPECT_EQ(nm::FileErrorPrompt(prompter, c.number), c.expected);
        EXPECT_EQ(prompter.shown.size(), 1u);
    }
}

TEST(FileErrorPrompt, OtherErrorsReturnUnknownWithoutABox) {
    for (const std::int32_t number : {53, 75, 70, 0, 5, 429, 32755}) {
        SCOPED_TRACE(number);
        ScriptedPrompter prompter;
        EXPECT_EQ(nm::FileErrorPrompt(prompter, number), nm::Code::Unknown);
        EXPECT_TRUE(prompter.shown.empty());
    }
}

TEST(ErrorDetails, BeepsAndShowsDescriptionAndNumber) {
    ScriptedPrompter prompter;
    nm::ShowErrorDetails(prompter, RuntimeError(61));
    EXPECT_EQ(prompter.beeps, 1);
    ASSERT_EQ(prompter.shown.size(), 1u);
    const auto& box = prompter.shown[0];
    EXPECT_EQ(box.text, "产生下列错误:\r\n\r\nDisk full\r\n数值:      61");
    EXPECT_EQ(box.icon, Icon::Information);
    EXPECT_EQ(box.title, "Disk full");
    EXPECT_EQ(box.buttons, Buttons::OK);
}

namespace {

// Steps that count their runs and log them; step i raises `number` on its
// first failures[i] runs.
struct ScriptedSteps {
    explicit ScriptedSteps(std::vector<int> failures, std::int32_t errorNumber = 61)
        : runs(failures.size()), failuresLeft(std::move(failures)), number(errorNumber) {
        for (std::size_t i = 0; i < runs.size(); ++i)
            steps.push_back([this, i] {
                ++runs[i];
                log.push_back("step" + std::to_string(i));
                if (failuresLeft[i] > 0) {
                    --failuresLeft[i];
                    throw RuntimeError(number);
                }
            });
    }
    std::vector<int> runs;
    std::vector<int> failuresLeft;
    std::int32_t number;
    std::vector<std::string> log;
    std::vector<nm::Step> steps;
};

// Code 0 retries the operation, 1 the step, 2 goes on, 3 ends.
nm::ReactionTable StandardTable() {
    nm::ReactionTable table;
    table.byCode[0] = {Action::RetryOperation, nullptr};
    table.byCode[1] = {Action::RunStepAgain, nullptr};
    table.byCode[2] = {Action::NextStep, nullptr};
    table.byCode[3] = {Action::End, nullptr};
    return table;
}

} // namespace

TEST(RunSteps, ReactsToTheCodeOfTheDiskFullAnswer) {
    struct Case {
        std::vector<Answer> answers;
        std::vector<int> expectedRuns;
        Outcome expected;
    };
    // The middle of three steps fails once with "disk full".
    const std::vector<Case> cases = {
        {{}, {1, 1, 1}, Outcome::Completed},
        {{Answer::Retry}, {2, 2, 1}, Outcome::CompletedWithErrors},
        {{Answer::Ignore}, {1, 2, 1}, Outcome::CompletedWithErrors},
        {{Answer::Abort}, {1, 1, 1}, Outcome::CompletedWithErrors},
        {{Answer::Closed}, {1, 1, 0}, Outcome::Ended},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases.data());
        ScriptedPrompter prompter;
        prompter.answers.assign(c.answers.begin(), c.answers.end());
        ScriptedSteps s({0, c.answers.empty() ? 0 : 1, 0});
        EXPECT_EQ(nm::RunSteps(prompter, s.steps, StandardTable()), c.expected);
        EXPECT_EQ(s.runs, c.expectedRuns);
        EXPECT_EQ(prompter.shown.size(), c.answers.size());
    }
}

TEST(RunSteps, RunsOnErrorAndTheMessageBeforeTheAction) {
    ScriptedPrompter prompter;
    prompter.answers = {Answer::Retry, Answer::Ignore};
    ScriptedSteps s({0, 2, 0});
    auto table = StandardTable();
    table.onError = [&] { s.log.push_back("onError"); };
    for (auto& reaction : table.byCode)
        reaction.message = [&](nm::Prompter&, const RuntimeError& e) {
            s.log.push_back("message " + std::to_string(e.Number()));
        };
    EXPECT_EQ(nm::RunSteps(prompter, s.steps, table), Outcome::CompletedWithErrors);
    const std::vector<std::string> expected = {"step0", "step1", "onError", "message 61",
                                               "step0", "step1", "onError", "message 61",
                                               "step1", "step2"};
    EXPECT_EQ(s.log, expected);
}

TEST(RunSteps, SettledErrorsBypassThePrompt) {
    ScriptedPrompter prompter;
    ScriptedSteps s({0, 1, 0}, nm::Err::DialogCancelled);
    auto table = StandardTable();
    std::vector<std::int32_t> settled;
    table.settle = [&](const RuntimeError& e) -> std::optional<nm::Reaction> {
        settled.push_back(e.Number());
        return nm::Reaction{Action::NextStep, nullptr};
    };
    EXPECT_EQ(nm::RunSteps(prompter, s.steps, table), Outcome::CompletedWithErrors);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(settled, (std::vector<std::int32_t>{32755}));
    EXPECT_EQ(s.runs, (std::vector<int>{1, 1, 1}));
}

TEST(RunSteps, ForStepOverridesOneStepOnly) {
    ScriptedPrompter prompter;
    prompter.answers = {Answer::Abort, Answer::Abort};
    ScriptedSteps s({1, 0, 1});
    auto table = StandardTable();
    std::vector<std::pair<std::size_t, nm::FileErrorAction>> asked;
    table.forStep = [&](std::size_t step, nm::FileErrorAction code) -> std::optional<nm::Reaction> {
        asked.emplace_back(step, code);
        if (step == 2)
            return nm::Reaction{Action::End, nullptr};
        return std::nullopt;
    };
    EXPECT_EQ(nm::RunSteps(prompter, s.steps, table), Outcome::Ended);
    EXPECT_EQ(s.runs, (std::vector<int>{1, 1, 1}));
    const std::vector<std::pair<std::size_t, nm::FileErrorAction>> expected = {{0, 2}, {2, 2}};
    EXPECT_EQ(asked, expected);
}

TEST(BrowseForFile, AsksAgainUntilAnExistingNonEmptyFileIsPicked) {
    nm::test::TempDir dir;
    const std::string good = dir.Write("good.pgp", "A, *ARC\n");
    const std::string empty = dir.Write("empty.pgp", "");
    const std::string missing = dir.Path("missing.pgp");
    ScriptedPrompter prompter;
    nm::test::ScriptedFileDialogs dialogs;
    dialogs.picks = {missing, empty, dir.Path(""), good};
    const std::string filter = "程序参数 (*.pgp)|*.pgp";

    EXPECT_EQ(nm::BrowseForFile(prompter, dialogs, filter, "vtrm.pgp"), good);

    ASSERT_EQ(dialogs.calls.size(), 4u);
    for (const auto& call : dialogs.calls) {
        EXPECT_EQ(call.kind, "open");
        EXPECT_EQ(call.filter, filter);
        EXPECT_EQ(call.fileName, "vtrm.pgp");
    }
    ASSERT_EQ(prompter.shown.size(), 3u);
    const std::vector<std::string> picked = {missing, empty, dir.Path("")};
    for (std::size_t i = 0; i < picked.size(); ++i) {
        const auto& box = prompter.shown[i];
        EXPECT_EQ(box.text, picked[i] + "\r\n这个文件未找到.\r\n确认当前路径和文件.");
        EXPECT_EQ(box.icon, Icon::Exclamation);
        EXPECT_EQ(box.buttons, Buttons::OK);
        EXPECT_EQ(box.title, "文件未找到");
    }
}

TEST(BrowseForFile, CancelReturnsThePreselectedNameUnchecked) {
    nm::test::TempDir dir;
    const std::string existing = dir.Write("vtrm.pgp", "A, *ARC\n");
    for (const std::string& name : {std::string(), dir.Path("gone.pgp"), existing}) {
        SCOPED_TRACE(name);
        ScriptedPrompter prompter;
        nm::test::ScriptedFileDialogs dialogs;
        dialogs.picks = {std::nullopt};
        EXPECT_EQ(nm::BrowseForFile(prompter, dialogs, "*.pgp|*.pgp", name), name);
        EXPECT_TRUE(prompter.shown.empty());
        EXPECT_EQ(dialogs.calls.size(), 1u);
    }
}
