#include "tools/pgptool/CommandLine.h"

#include "host/Win32.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

namespace nm {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    // The bytes a save would write, as they are: no LF turned into CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
    // The arguments as typed, as UTF-8: the ANSI form loses every character
    // of a file name that the system code page lacks.
    std::vector<std::string> args(argv + 1, argv + argc);
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        args.clear();
        for (int i = 1; i < count; ++i)
            args.push_back(Narrow(wide[i]));
        LocalFree(wide);
    }
    return args;
}

} // namespace nm
