#include "host/Environment.h"

#include "host/Win32.h"

#include <cwchar>

namespace nm {

Variables ProcessVariables() {
    Variables variables;
    wchar_t* block = GetEnvironmentStringsW();
    // Entries end in a NUL, the block in an empty entry; names that begin
    // with "=" are the drives' current folders, not variables.
    for (const wchar_t* entry = block; entry && *entry; entry += std::wcslen(entry) + 1) {
        const std::wstring_view text(entry);
        const std::size_t equals = text.find(L'=', 1);
        if (entry[0] != L'=' && equals != std::wstring_view::npos)
            variables.Set(Narrow(text.substr(0, equals)), Narrow(text.substr(equals + 1)));
    }
    if (block)
        FreeEnvironmentStringsW(block);
    return variables;
}

} // namespace nm
