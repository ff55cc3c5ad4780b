// pgptool, run as a script would run it: the "C" locale, plus `env`.
#pragma once

#include "tests/support/Program.h"

namespace nm::test {

inline ProgramRun Pgptool(const std::vector<std::string>& args, Environment env = {}) {
    env.insert(env.begin(), {"LC_ALL", "C"});
    return RunProgram(PGPTOOL, args, env);
}

} // namespace nm::test
