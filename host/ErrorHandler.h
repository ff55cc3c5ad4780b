// The shared reaction to run-time errors: the file-error prompt with its
// action codes, the error details box, the open dialog that insists on an
// existing file, and the small mechanism that runs a procedure's steps under
// its own reaction table.
#pragma once

#include "host/Prompter.h"
#include "host/RuntimeError.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace nm {

// What FileErrorPrompt returns: 0 retry, 1 ignore, 2 give up, 3 not a file error.
using FileErrorAction = std::int16_t;
namespace Code {
inline constexpr FileErrorAction Retry = 0;
inline constexpr FileErrorAction Ignore = 1;
inline constexpr FileErrorAction GiveUp = 2;
inline constexpr FileErrorAction Unknown = 3;
} // namespace Code

// Shows the disk-error box for a file error and maps the button pressed to an
// action code; returns 3 at once, with no box, for any other error number.
FileErrorAction FileErrorPrompt(Prompter& prompter, std::int32_t number);

// "产生下列错误:" with the error's description and number, after a beep.
void ShowErrorDetails(Prompter& prompter, const RuntimeError& error);

// "内部错误. 中止.", then the program ends (raises ProgramEnd).
[[noreturn]] void AbortProgram(Prompter& prompter);

// How a procedure goes on after an error.
enum class Action {
    RetryOperation, // run the whole operation again; the interrupted run ends
    RunStepAgain,   // run the failed step again
    NextStep,       // go on with the step after the failed one
    End,            // end the operation
};

struct Reaction {
    Action action = Action::End;
    // Shown before the action is taken; may be empty.
    std::function<void(Prompter&, const RuntimeError&)> message;
};

// A message box with an OK button and no icon.
std::function<void(Prompter&, const RuntimeError&)> ShowText(std::string text);
// The same, with the error number between `before` and `after`.
std::function<void(Prompter&, const RuntimeError&)> ShowNumber(std::string before,
                                                               std::string after = {});
// ShowErrorDetails.
std::function<void(Prompter&, const RuntimeError&)> ShowDetails();

// One procedure's reaction table.
struct ReactionTable {
    // Indexed by the action code 0 to 3.
    std::array<Reaction, 4> byCode;
    // Run first on every error (for example: restore the mouse pointer).
    std::function<void()> onError;
    // Errors the procedure settles itself, without the file-error prompt.
    std::function<std::optional<Reaction>(const RuntimeError&)> settle;
    // A step whose reaction to a code differs from the table's.
    std::function<std::optional<Reaction>(std::size_t step, FileErrorAction code)> forStep;
};

// A `settle` for procedures that end without a word when the user cancels a
// file dialog (run-time error 32755).
std::optional<Reaction> EndWhenCancelled(const RuntimeError& error);

enum class Outcome {
    Completed,           // every step ran
    CompletedWithErrors, // every step ran or was skipped after an error
    Ended,               // the reaction ended the operation
};

using Step = std::function<void()>;

// Runs the steps in order; a RuntimeError in a step is settled by the table.
// A retry starts again at the first step.
Outcome RunSteps(Prompter& prompter, std::span<const Step> steps, const ReactionTable& table);

} // namespace nm
