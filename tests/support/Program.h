// Runs a program of the project, as a user would from a shell, and collects
// what it printed.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace nm::test {

struct ProgramRun {
    int status = -1; // the exit code; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

using Environment = std::vector<std::pair<std::string, std::string>>;

// Runs `program` with `args` (no shell in between), its standard input empty,
// and the variables of `env` added to this process's environment.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const Environment& env = {});

// POSIX only: starts the same way without waiting, its output going to the
// files `out` and `err`; returns the child's process id.
int StartProgram(const std::string& program, const std::vector<std::string>& args,
                 const Environment& env, const std::string& out, const std::string& err);

} // namespace nm::test
