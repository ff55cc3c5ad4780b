// The process environment as the host's settings refer to it.
#pragma once

#include <string>
#include <string_view>

namespace nm {

// References between "%" signs replaced by the environment's values. A name
// the environment lacks keeps its reference, except the folders every Wine
// process knows (%SystemDrive%, %WINDIR%, ...), which get Wine's values.
std::string ExpandEnvVars(std::string_view text);

} // namespace nm
