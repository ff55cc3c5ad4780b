#include "tests/support/Doubles.h"
#include "tests/support/Program.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace nm::test {

int StartProgram(const std::string& program, const std::vector<std::string>& args,
                 const Environment& env, const std::string& outPath, const std::string& errPath) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int streams[] = {::open("/dev/null", O_RDONLY),
                               ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600),
                               ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600)};
        for (int stream = 0; stream < 3; ++stream)
            if (streams[stream] < 0 || ::dup2(streams[stream], stream) < 0)
                ::_exit(127);
        for (const auto& [name, value] : env)
            ::setenv(name.c_str(), value.c_str(), 1);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const Environment& env) {
    TempDir io;
    const pid_t pid = StartProgram(program, args, env, io.Path("out"), io.Path("err"));
    int raw = 0;
    const bool exited = pid > 0 && ::waitpid(pid, &raw, 0) == pid && WIFEXITED(raw);
    return {exited ? WEXITSTATUS(raw) : -1, io.Read("out"), io.Read("err")};
}

} // namespace nm::test
