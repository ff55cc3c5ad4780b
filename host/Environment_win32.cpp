#include "host/Environment.h"

#include "host/Win32.h"

namespace nm {

std::string ExpandEnvVars(std::string_view text) {
    if (text.find('%') == std::string_view::npos)
        return std::string(text);
    // The system's own expansion, sized to the result: a long search list is
    // not cut at 254 characters.
    const std::wstring in = Wide(text);
    DWORD size = ExpandEnvironmentStringsW(in.c_str(), nullptr, 0);
    std::wstring out(size, L'\0');
    size = size ? ExpandEnvironmentStringsW(in.c_str(), out.data(), size) : 0;
    if (size == 0)
        return std::string(text);
    out.resize(size - 1); // without the terminating NUL
    return Narrow(out);
}

} // namespace nm
