#include "host/WineEnvironment.h"

#include "host/Utf8.h"

#include <vector>

namespace nm {

namespace {

// Names of the Linux environment that Wine does not pass on: a process of
// the prefix gets them from WINE<name>, or from the prefix.
bool KeptByWine(const std::string& upper) {
    return upper == "PATH" || upper == "PWD" || upper == "HOME" || upper == "TEMP" ||
           upper == "TMP" || upper == "XDG_SESSION_TYPE" || upper.rfind("QT_", 0) == 0 ||
           upper.rfind("VK_", 0) == 0;
}

// The text values of a key; expandable ones expanded against `variables`.
Variables KeyTexts(RegistryBackend& registry, RootKey root, const std::string& subKey,
                   const Variables& variables, RegistryView view = RegistryView::Native) {
    Variables texts;
    KeyHandle key = 0;
    if (registry.OpenKey(root, subKey, key, view) != RegOk)
        return texts;
    std::vector<std::string> names;
    registry.ValueNames(key, names);
    for (const std::string& name : names) {
        std::uint32_t type = 0, size = 0;
        if (registry.QueryValue(key, name, type, nullptr, size) != RegOk || size == 0 ||
            (type != RegSz && type != RegExpandSz))
            continue;
        std::vector<std::uint8_t> data(size);
        if (registry.QueryValue(key, name, type, data.data(), size) != RegOk || size == 0)
            continue;
        std::string text = registry.Utf8Text(
            std::string(reinterpret_cast<const char*>(data.data()), size).c_str());
        texts.Set(name, type == RegExpandSz ? ExpandEnvVars(text, variables) : text);
    }
    registry.CloseKey(key);
    return texts;
}

// Sets each variable; PATH is added to rather than replaced.
void Apply(Variables& variables, const Variables& from) {
    for (const auto& [upper, entry] : from.All()) {
        const std::string* path = upper == "PATH" ? variables.Find("PATH") : nullptr;
        variables.Set(entry.first,
                      path && !path->empty() ? *path + ";" + entry.second : entry.second);
    }
}

std::string TextOr(const Variables& texts, const std::string& name, const std::string& fallback) {
    const std::string* text = texts.Find(name);
    return text && !text->empty() ? *text : fallback;
}

} // namespace

Variables WineVariables(RegistryBackend& registry, const Variables& linuxEnvironment) {
    Variables v;
    for (const auto& [upper, entry] : linuxEnvironment.All()) {
        if (upper.rfind("WINE", 0) == 0 && KeptByWine(upper.substr(4)))
            v.Set(entry.first.substr(4), entry.second);
        else if (!KeptByWine(upper))
            v.Set(entry.first, entry.second);
    }
    v.Set("SystemDrive", "C:");
    v.Set("SystemRoot", "C:\\windows");
    const std::string control = "System\\CurrentControlSet\\Control\\";
    Apply(v, KeyTexts(registry, LocalMachine, control + "Session Manager\\Environment", v));

    // The user's profile: as Wine's start-up wrote it, else the prefix's
    // folder of the Linux user.
    const std::string* linuxUser = linuxEnvironment.Find("USER");
    const std::string user = linuxUser && !linuxUser->empty() ? *linuxUser : "user";
    const std::string profile = "C:\\users\\" + user;
    v.Set("USERNAME", user);
    v.Set("USERPROFILE", profile);
    v.Set("HOMEDRIVE", "C:");
    v.Set("HOMEPATH", "\\users\\" + user);
    v.Set("APPDATA", profile + "\\AppData\\Roaming");
    v.Set("LOCALAPPDATA", profile + "\\AppData\\Local");
    Apply(v, KeyTexts(registry, CurrentUser, "Volatile Environment", v));
    // The user's own variables may name the profile's folders.
    Apply(v, KeyTexts(registry, CurrentUser, "Environment", v));

    const Variables shared = KeyTexts(
        registry, LocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", v);
    v.Set("ALLUSERSPROFILE", TextOr(shared, "ProgramData", "C:\\ProgramData"));
    v.Set("ProgramData", TextOr(shared, "ProgramData", "C:\\ProgramData"));
    v.Set("PUBLIC", TextOr(shared, "Public", "C:\\users\\Public"));
    const Variables names =
        KeyTexts(registry, LocalMachine, control + "ComputerName\\ComputerName", v);
    if (const std::string* name = names.Find("ComputerName"))
        v.Set("COMPUTERNAME", *name);

    // The program folders, read in the 64-bit view where there are two.
    const bool wow64 = registry.TwoViews();
    const Variables folders =
        KeyTexts(registry, LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion", v,
                 wow64 ? RegistryView::Bits64 : RegistryView::Native);
    const std::string programs = TextOr(folders, "ProgramFilesDir", "C:\\Program Files");
    const std::string common = TextOr(folders, "CommonFilesDir", programs + "\\Common Files");
    if (!wow64) {
        v.Set("ProgramFiles", programs);
        v.Set("CommonProgramFiles", common);
        return v;
    }
    const std::string programs32 =
        TextOr(folders, "ProgramFilesDir (x86)", "C:\\Program Files (x86)");
    const std::string common32 =
        TextOr(folders, "CommonFilesDir (x86)", programs32 + "\\Common Files");
    v.Set("ProgramFiles", programs32);
    v.Set("ProgramFiles(x86)", programs32);
    v.Set("ProgramW6432", programs);
    v.Set("CommonProgramFiles", common32);
    v.Set("CommonProgramFiles(x86)", common32);
    v.Set("CommonProgramW6432", common);
    if (const std::string* arch = v.Find("PROCESSOR_ARCHITECTURE"))
        v.Set("PROCESSOR_ARCHITEW6432", *arch);
    v.Set("PROCESSOR_ARCHITECTURE", "x86");
    return v;
}

} // namespace nm
