#include "tools/pgptool/CommandLine.h"

namespace nm {

// The arguments arrive as the bytes typed, and standard output has no text mode.
std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return {argv + 1, argv + argc};
}

} // namespace nm
