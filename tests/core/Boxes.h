// The message boxes a test saw, each as one text, so that a test compares all
// of a box at once and a failure shows every part of it.
#pragma once

#include "tests/support/Doubles.h"

#include <string>
#include <vector>

namespace nm::test {

using Rows = std::vector<std::string>;

inline std::string Box(const MessageBox& box) {
    return box.title.value_or("-") + "|" + box.text + "|" +
           std::to_string(static_cast<int>(box.buttons)) + "|" +
           std::to_string(static_cast<int>(box.icon)) + "|" + std::to_string(box.defaultButton);
}

inline Rows Boxes(const ScriptedPrompter& prompter) {
    Rows boxes;
    for (const MessageBox& box : prompter.shown)
        boxes.push_back(Box(box));
    return boxes;
}

} // namespace nm::test
