// The search on Windows: the system's own paths and file attributes.
#include "host/Locator.h"

#include "host/Paths.h"
#include "host/Win32.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace nm {

const char FolderSeparator = '\\';

namespace {

// The first directory entry matching `pattern` (a path whose last part may
// hold wildcards): its name, or "" when none matches. With `ordinaryOnly`,
// hidden and system files and folders do not count.
std::string MatchEntry(const std::string& pattern, bool ordinaryOnly) {
    WIN32_FIND_DATAW data{};
    const HANDLE search = FindFirstFileW(Wide(pattern).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return {};
    constexpr DWORD NotOrdinary =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    std::string found;
    do {
        if (!ordinaryOnly || (data.dwFileAttributes & NotOrdinary) == 0) {
            found = Narrow(data.cFileName);
            break;
        }
    } while (FindNextFileW(search, &data));
    FindClose(search);
    return found;
}

} // namespace

bool AnyEntry(const std::string& path) {
    return !MatchEntry(path, false).empty();
}

std::string OrdinaryFile(const std::string& folder, const std::string& name, bool) {
    const std::string found = MatchEntry(folder + name, true);
    return found.empty() ? std::string() : folder + found;
}

std::string MapDosPath(const std::string&, const std::string& path) {
    return path;
}

std::string ProgramFolder() {
    std::wstring name(32768, L'\0'); // the longest path the system knows
    name.resize(GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size())));
    return PathText(fs::path(name).parent_path());
}

std::string UserCatalogueFile() {
    return {}; // the program's folder is the user's to write
}

HostContext SystemHostContext(Prompter& prompter, RegistryBackend& registry) {
    return HostContext{prompter, registry, ProgramFolder(), {}, ProcessVariables()};
}

} // namespace nm
