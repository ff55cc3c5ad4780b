// pgptool check: the catalogue it checks against, and the two forms of its
// findings (compiler-style lines and one JSON document).
#pragma once

#include <string>
#include <vector>

namespace nm {

struct CheckArgs {
    std::vector<std::string> files;
    std::string catalogue; // "" : the program's and the user's own, when there are any
    bool json = false;
    bool strict = false;
};

// Returns the exit status: 0 no errors (with `strict`: no warnings either), 1
// otherwise, 2 a file that cannot be read.
int RunCheck(const CheckArgs& args);

} // namespace nm
