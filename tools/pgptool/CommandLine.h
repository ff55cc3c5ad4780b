// The command line and standard output as pgptool meets them on each system.
#pragma once

#include <string>
#include <vector>

namespace nm {

// The arguments after the program's name, as UTF-8; standard output is made
// to pass the bytes written through unchanged.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

} // namespace nm
