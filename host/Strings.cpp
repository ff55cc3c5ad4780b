#include "host/Strings.h"

#include "host/Text.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include "host/Win32.h"
#endif

namespace nm {

std::string StrReplace(std::string_view find, std::string_view replacement,
                       std::string_view source) {
    if (find.empty() || source.find(find) == std::string_view::npos)
        return std::string(source);
    std::string out;
    out.reserve(source.size());
    std::size_t i = 0;
    while (i + find.size() <= source.size()) {
        if (source.compare(i, find.size(), find) == 0) {
            out += replacement;
            i += find.size();
        } else {
            out += source[i++];
        }
    }
    out += source.substr(i);
    return out;
}

std::vector<std::string> StrSplit(std::string_view delimiter, std::string_view source) {
    std::vector<std::string> pieces;
    if (delimiter.empty())
        return {std::string(source)};
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = source.find(delimiter, start);
        if (at == std::string_view::npos) {
            pieces.emplace_back(source.substr(start));
            return pieces;
        }
        pieces.emplace_back(source.substr(start, at - start));
        start = at + delimiter.size();
    }
}

std::string TrimLeading(std::string_view text, std::string_view piece) {
    if (!piece.empty())
        while (text.size() >= piece.size() && text.substr(0, piece.size()) == piece)
            text.remove_prefix(piece.size());
    return std::string(text);
}

std::string TrimTrailing(std::string_view text, std::string_view piece) {
    if (!piece.empty())
        while (text.size() >= piece.size() && text.substr(text.size() - piece.size()) == piece)
            text.remove_suffix(piece.size());
    return std::string(text);
}

std::string TrimBlanks(std::string_view text) {
    return TrimLeading(TrimTrailing(StrReplace("\t", " ", text), " "), " ");
}

namespace {

#ifndef _WIN32
// The environment a Wine process starts with, for names the Linux
// environment does not have.
std::string WineDefault(const std::string& upperName) {
    const char* user = std::getenv("USER");
    const std::string profile = std::string("C:\\users\\") + (user && *user ? user : "user");
    if (upperName == "SYSTEMDRIVE")
        return "C:";
    if (upperName == "WINDIR" || upperName == "SYSTEMROOT")
        return "C:\\windows";
    if (upperName == "PROGRAMFILES")
        return "C:\\Program Files";
    if (upperName == "PROGRAMFILES(X86)")
        return "C:\\Program Files (x86)";
    if (upperName == "PROGRAMDATA" || upperName == "ALLUSERSPROFILE")
        return "C:\\ProgramData";
    if (upperName == "PUBLIC")
        return "C:\\users\\Public";
    if (upperName == "USERPROFILE")
        return profile;
    if (upperName == "APPDATA")
        return profile + "\\AppData\\Roaming";
    if (upperName == "LOCALAPPDATA")
        return profile + "\\AppData\\Local";
    if (upperName == "TEMP" || upperName == "TMP")
        return profile + "\\AppData\\Local\\Temp";
    return {};
}

bool LookUp(const std::string& name, std::string& value) {
    const std::string upper = UpperCase(name);
    for (const std::string& candidate : {name, upper}) {
        if (const char* v = std::getenv(candidate.c_str())) {
            value = v;
            return true;
        }
    }
    value = WineDefault(upper);
    return !value.empty();
}
#endif

} // namespace

std::string ExpandEnvVars(std::string_view text) {
    if (text.find('%') == std::string_view::npos)
        return std::string(text);
#ifdef _WIN32
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
#else
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t open = text.find('%', i);
        if (open == std::string_view::npos)
            break;
        const std::size_t close = text.find('%', open + 1);
        if (close == std::string_view::npos)
            break;
        out += text.substr(i, open - i);
        const std::string name(text.substr(open + 1, close - open - 1));
        std::string value;
        if (!name.empty() && LookUp(name, value)) {
            out += value;
            i = close + 1;
        } else {
            // An unknown name keeps its reference as written.
            out += text.substr(open, close - open + 1);
            i = close + 1;
        }
    }
    out += text.substr(i);
    return out;
#endif
}

std::string FullPathName(std::string_view path) {
    if (path.empty())
        return {};
#ifdef _WIN32
    // As the system reports it: against the current folder of the drive
    // named, with a folder's final separator kept.
    const std::wstring in = Wide(path);
    DWORD size = GetFullPathNameW(in.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    size = size ? GetFullPathNameW(in.c_str(), size, full.data(), nullptr) : 0;
    if (size == 0 || size >= full.size())
        return {};
    full.resize(size);
    return Narrow(full);
#else
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(std::filesystem::path(path), ec);
    if (ec)
        return {};
    std::string full = absolute.lexically_normal().string();
    // "/dir/." and "/dir/" keep no separator at the end, as a folder's full name.
    if (full.size() > 1 && (full.back() == '/' || full.back() == '\\'))
        full.pop_back();
    return full;
#endif
}

std::string PathPart(std::string_view path) {
    const std::size_t cut = path.find_last_of("/\\:");
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

} // namespace nm
