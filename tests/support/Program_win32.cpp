#include "tests/support/Doubles.h"
#include "tests/support/Program.h"

#include "host/Win32.h"

#include <optional>

namespace nm::test {

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
    // The child inherits this process's environment with the test's variables
    // in place; they are put back as they were afterwards.
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved;
    for (const auto& [name, value] : env) {
        std::wstring old(32767, L'\0');
        const DWORD size = GetEnvironmentVariableW(Wide(name).c_str(), old.data(), 32767);
        saved.emplace_back(Wide(name), size ? std::optional(old.substr(0, size)) : std::nullopt);
        SetEnvironmentVariableW(Wide(name).c_str(), Wide(value).c_str());
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = Inheritable("NUL", GENERIC_READ, OPEN_EXISTING);
    startup.hStdOutput = Inheritable(io.Path("out"), GENERIC_WRITE, CREATE_ALWAYS);
    startup.hStdError = Inheritable(io.Path("err"), GENERIC_WRITE, CREATE_ALWAYS);
    // Wine now and then fails to start a process under load; nothing has run
    // then, so the start is tried again.
    PROCESS_INFORMATION process{};
    BOOL started = FALSE;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt > 0)
            Sleep(200);
        started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                 nullptr, &startup, &process);
    }
    for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
        CloseHandle(handle);
    for (const auto& [name, value] : saved)
        SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
    DWORD code = 0;
    if (started) {
        WaitForSingleObject(process.hProcess, INFINITE);
        code = GetExitCodeProcess(process.hProcess, &code) ? code : static_cast<DWORD>(-1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return {started ? static_cast<int>(code) : -1, io.Read("out"), io.Read("err")};
}

} // namespace nm::test
