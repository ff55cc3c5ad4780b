#include "tests/support/Program.h"

#include "tests/support/Doubles.h"

#include <cstdlib>

#ifdef _WIN32
#include "host/Win32.h"
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace nm::test {

#ifdef _WIN32

namespace {

// One argument as the C runtime's command-line parser reads it back.
std::wstring QuoteArgument(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos)
        return arg;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

HANDLE Inheritable(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(Wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const Environment& env) {
    TempDir io;
    std::wstring commandLine = QuoteArgument(Wide(program));
    for (const std::string& arg : args)
        commandLine += L" " + QuoteArgument(Wide(arg));

    // This process's environment with the test's variables in place.
    std::vector<std::wstring> variables;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* v = block; *v; v += wcslen(v) + 1)
            variables.emplace_back(v);
        FreeEnvironmentStringsW(block);
    }
    for (const auto& [name, value] : env) {
        const std::wstring prefix = Wide(name) + L"=";
        std::erase_if(variables, [&](const std::wstring& v) {
            return CompareStringOrdinal(v.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                                        static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
        });
        variables.push_back(prefix + Wide(value));
    }
    std::wstring block;
    for (const std::wstring& v : variables)
        block += v + L'\0';
    block += L'\0';

    // Wine now and then fails to start a process under load; nothing has run
    // then, so the start is tried again.
    BOOL started = FALSE;
    DWORD startError = 0;
    PROCESS_INFORMATION process{};
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt > 0)
            Sleep(200);
        HANDLE in = Inheritable("NUL", GENERIC_READ, OPEN_EXISTING);
        HANDLE out = Inheritable(io.Path("out"), GENERIC_WRITE, CREATE_ALWAYS);
        HANDLE err = Inheritable(io.Path("err"), GENERIC_WRITE, CREATE_ALWAYS);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = in;
        startup.hStdOutput = out;
        startup.hStdError = err;
        started =
            CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                           CREATE_UNICODE_ENVIRONMENT, block.data(), nullptr, &startup, &process);
        startError = started ? 0 : GetLastError();
        CloseHandle(in);
        CloseHandle(out);
        CloseHandle(err);
    }
    ProgramRun run;
    if (started) {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        if (GetExitCodeProcess(process.hProcess, &code))
            run.status = static_cast<int>(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    run.out = io.Read("out");
    run.err = io.Read("err");
    if (!started)
        run.err += "the program could not be started: error " + std::to_string(startError);
    return run;
}

#else

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const Environment& env) {
    TempDir io;
    const std::string outPath = io.Path("out");
    const std::string errPath = io.Path("err");
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (null < 0 || out < 0 || err < 0)
            ::_exit(127);
        ::dup2(null, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        for (const auto& [name, value] : env)
            ::setenv(name.c_str(), value.c_str(), 1);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ProgramRun run;
    int raw = 0;
    if (pid > 0 && ::waitpid(pid, &raw, 0) == pid && WIFEXITED(raw))
        run.status = WEXITSTATUS(raw);
    run.out = io.Read("out");
    run.err = io.Read("err");
    return run;
}

#endif

} // namespace nm::test
