// The Windows API, without the macros that would rename the editor's own
// names (MessageBox), and the conversions at its edge: the editor's text is
// UTF-8, the wide API takes UTF-16 and the ANSI API the system code page.
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#undef MessageBox

#include <string>
#include <string_view>

namespace nm {

inline std::wstring Wide(std::string_view text, unsigned codePage = CP_UTF8) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), n);
    return wide;
}

inline std::string Narrow(std::wstring_view wide, unsigned codePage = CP_UTF8) {
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), n, nullptr, nullptr);
    return text;
}

// Text in the system code page (what the ANSI functions return) as UTF-8.
inline std::string AnsiToUtf8(std::string_view ansi) {
    return Narrow(Wide(ansi, CP_ACP));
}

} // namespace nm
#endif
