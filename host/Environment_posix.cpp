#include "host/Environment.h"

#include "host/Utf8.h"

#include <cstdlib>

namespace nm {

namespace {

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

} // namespace

std::string ExpandEnvVars(std::string_view text) {
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
        // An unknown name keeps its reference as written.
        out += !name.empty() && LookUp(name, value) ? std::string_view(value)
                                                    : text.substr(open, close - open + 1);
        i = close + 1;
    }
    out += text.substr(i);
    return out;
}

} // namespace nm
