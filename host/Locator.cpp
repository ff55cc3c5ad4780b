#include "host/Locator.h"

#include "host/ErrorHandler.h"
#include "host/FileIo.h"
#include "host/Strings.h"
#include "host/Text.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include "host/Win32.h"
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace nm {

namespace {

#ifdef _WIN32
constexpr char Separator = '\\';
constexpr char PathListSeparator = ';';
#else
constexpr char Separator = '/';
constexpr char PathListSeparator = ':';
#endif

bool IsDosForm(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

#ifdef _WIN32

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

bool AnyEntry(const std::string& path) {
    return !MatchEntry(path, false).empty();
}

// The ordinary file `name` in `folder` (which ends in a separator), as a
// path; "" when there is none.
std::string OrdinaryFile(const std::string& folder, const std::string& name, bool) {
    const std::string found = MatchEntry(folder + name, true);
    return found.empty() ? std::string() : folder + found;
}

#else

// The entry of `folder` named `name` without regard to case ("" when none).
std::string FindNoCase(const fs::path& folder, const std::string& name) {
    std::error_code ec;
    if (fs::exists(folder / name, ec))
        return name;
    const std::string wanted = LowerCase(name);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (LowerCase(entry) == wanted)
            return entry;
    }
    return {};
}

bool AnyEntry(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::path(path), ec);
}

// The regular, not hidden file `name` in `folder`; in a folder of a DOS drive
// the name matches without regard to case. "" when there is none.
std::string OrdinaryFile(const std::string& folder, const std::string& name, bool dosDrive) {
    const std::string found = dosDrive ? FindNoCase(fs::path(folder), name) : name;
    if (found.empty() || found.front() == '.')
        return {}; // a hidden file is not counted
    const fs::path candidate = fs::path(folder) / found;
    std::error_code ec;
    return fs::is_regular_file(candidate, ec) ? candidate.string() : std::string();
}

#endif

} // namespace

std::string MapDosPath(const std::string& dosDevices, const std::string& path) {
#ifdef _WIN32
    (void)dosDevices;
    return path;
#else
    if (!IsDosForm(path) || dosDevices.empty())
        return StrReplace("\\", "/", path);
    // The drive's own folder, so that paths read as the folders on disk.
    fs::path mapped = fs::path(dosDevices) / LowerCase(path.substr(0, 2));
    std::error_code ec;
    if (const fs::path drive = fs::canonical(mapped, ec); !ec)
        mapped = drive;
    const std::string rest = StrReplace("\\", "/", path.substr(2));
    const std::vector<std::string> parts = StrSplit("/", rest);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        if (part.empty() || part == ".")
            continue;
        const std::string found = part == ".." ? part : FindNoCase(mapped, part);
        mapped /= found.empty() ? part : found;
    }
    std::string result = mapped.string();
    if (!rest.empty() && rest.back() == '/' && result.back() != '/')
        result += '/';
    return result;
#endif
}

std::string ProgramFolder() {
#ifdef _WIN32
    std::wstring name(32768, L'\0'); // the longest path the system knows
    name.resize(GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size())));
    return PathText(fs::path(name).parent_path());
#else
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return FullPathName(".");
    return exe.parent_path().string();
#endif
}

HostContext SystemHostContext(Prompter& prompter, RegistryBackend& registry) {
#ifdef _WIN32
    return HostContext{prompter, registry, ProgramFolder(), {}};
#else
    return HostContext{prompter, registry, ProgramFolder(), WinePrefix() + "/dosdevices"};
#endif
}

std::string FindFileOnPath(const HostContext& host, const std::string& fileName,
                           const std::string& searchList, std::vector<std::string>* searched) {
    try {
        const std::string name = TrimLeading(TrimTrailing(TrimBlanks(fileName), "\""), "\"");
        if (name.empty())
            return {};
        const std::string itself = MapDosPath(host.dosDevices, name);
        if (AnyEntry(itself))
            return FullPathName(itself);
        if (!PathPart(name).empty())
            return {};
        std::string list = searchList;
        if (list.empty()) {
            const char* path = std::getenv("PATH");
            list = PathText(fs::current_path()) + ";" +
                   StrReplace(std::string(1, PathListSeparator), ";", path ? path : "");
        }
        for (std::string entry : StrSplit(";", ExpandEnvVars(StrReplace("\"", "", list)))) {
            if (entry.empty() || (entry.back() != '\\' && entry.back() != '/'))
                entry += Separator;
            const std::string folder = MapDosPath(host.dosDevices, entry);
            if (searched)
                searched->push_back(folder);
            const std::string found = OrdinaryFile(folder, name, IsDosForm(entry));
            if (!found.empty())
                return FullPathName(found);
        }
    } catch (const std::exception&) {
        // An invalid name or an unreadable folder ends the search.
    }
    return {};
}

std::string FindHostPgpFile(HostContext& host, LocateTrace* trace) {
    std::string result;
    const Step steps[] = {[&] {
        LocateTrace local;
        LocateTrace& t = trace ? *trace : local;
        t = LocateTrace{};
        t.release = HostReleaseKey(host.registry, host.prompter);
        t.product = HostProductKey(host.registry, host.prompter);
        t.profile = HostCurrentProfile(host.registry, host.prompter);
        const std::string key = "HKEY_CURRENT_USER\\SOFTWARE\\Tessaron\\Vectrom\\" + t.release +
                                "\\" + t.product + "\\Profiles\\" + t.profile + "\\General";
        t.searchList = RegistryText(zent_RegistryRead(host.registry, host.prompter, key, "VTRM"));
        result = FindFileOnPath(host, HostPgpFileName, t.searchList, &t.searched);
    }};
    ReactionTable table;
    table.byCode[Code::Retry] = {Action::RetryOperation, nullptr};
    table.byCode[Code::Ignore] = {Action::RunStepAgain, nullptr};
    table.byCode[Code::GiveUp] = {Action::NextStep, ShowText("一个不可修复的错误发生.")};
    table.byCode[Code::Unknown] = {Action::NextStep, ShowText("不可识别的错误.")};
    RunSteps(host.prompter, steps, table);
    return result;
}

std::string SupportFilePath(const HostContext& host, const std::string& name) {
    std::string candidate;
    if (!name.empty()) {
        candidate = name;
        if (!FileExists(candidate))
            candidate = host.programFolder + Separator + name;
    } else {
        candidate = host.programFolder + Separator + CatalogueFileName;
    }
    if (!FileExists(candidate)) {
        host.prompter.Show(MessageBox{"支持文件" + Blanks(12) + candidate +
                                          "未找到. 请移动到与 ALIAS.EXE 相同的文件夹或者重新安装 "
                                          "Zentro Tools.",
                                      Buttons::OK, Icon::None, "文件未找到", 1});
        return {};
    }
    return candidate;
}

} // namespace nm
