// The environment of the host's process, as the host's settings refer to it:
// search lists name folders through "%NAME%" references.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace nm {

// Variables by name, matched without regard to case, as a process sees them.
class Variables {
public:
    void Set(const std::string& name, std::string value);
    // The value, or nullptr when the name has none.
    const std::string* Find(const std::string& name) const;
    // Every variable, by upper-case name: the name as set and its value.
    const std::map<std::string, std::pair<std::string, std::string>>& All() const {
        return values_;
    }

private:
    std::map<std::string, std::pair<std::string, std::string>> values_;
};

// References between "%" signs replaced by the variables' values; a name
// that has none keeps its reference as written. The text is not cut at any
// length.
std::string ExpandEnvVars(std::string_view text, const Variables& variables);

// The environment of this process (Environment_posix.cpp,
// Environment_win32.cpp).
Variables ProcessVariables();

} // namespace nm
