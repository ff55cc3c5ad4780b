// pgptool check: its arguments, the catalogue it checks against, and the two
// forms of its findings (compiler-style lines and one JSON document).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nm {

// Runs `pgptool check` with the arguments after "check"; returns the exit
// status: 0 no errors (with --strict: no warnings either), 1 otherwise, 2 a
// usage error or a file that cannot be read.
int RunCheck(const std::vector<std::string>& args);

// `text` as a JSON string, quotes included. Text that is not valid UTF-8 gets
// U+FFFD for each byte outside ASCII.
std::string JsonString(std::string_view text);

} // namespace nm
