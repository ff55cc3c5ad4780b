// The search on POSIX: the host runs under Wine, so the search list's DOS
// paths go through the prefix's drive links.
#include "host/Locator.h"

#include "host/Paths.h"
#include "host/StrOps.h"
#include "host/Utf8.h"
#include "host/WineRegistry.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace nm {

const char FolderSeparator = '/';
const char PathListSeparator = ':';

namespace {

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

} // namespace

bool AnyEntry(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::path(path), ec);
}

std::string OrdinaryFile(const std::string& folder, const std::string& name, bool dosDrive) {
    const std::string found = dosDrive ? FindNoCase(fs::path(folder), name) : name;
    if (found.empty() || found.front() == '.')
        return {}; // a hidden file is not counted
    const fs::path candidate = fs::path(folder) / found;
    std::error_code ec;
    return fs::is_regular_file(candidate, ec) ? candidate.string() : std::string();
}

std::string MapDosPath(const std::string& dosDevices, const std::string& path) {
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
}

std::string ProgramFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return FullPathName(".");
    return exe.parent_path().string();
}

HostContext SystemHostContext(Prompter& prompter, RegistryBackend& registry) {
    return HostContext{prompter, registry, ProgramFolder(), WinePrefix() + "/dosdevices"};
}

} // namespace nm
