// The search on POSIX: the host runs under Wine, so the search list's DOS
// paths go through the prefix's drive links.
#include "host/Locator.h"

#include "host/Paths.h"
#include "host/StrOps.h"
#include "host/Utf8.h"
#include "host/WineEnvironment.h"
#include "host/WineRegistry.h"

#include <charconv>
#include <filesystem>
#include <sys/xattr.h>
#include <system_error>

namespace fs = std::filesystem;

namespace nm {

const char FolderSeparator = '/';

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

// Hidden (2) or system (4) in the DOS attributes Wine keeps for a file: the
// text "0x" and the attributes in hexadecimal.
bool HiddenToWine(const fs::path& file) {
    char value[32] = {};
    const ssize_t size = getxattr(file.c_str(), "user.DOSATTRIB", value, sizeof value - 1);
    if (size < 3 || value[0] != '0' || (value[1] != 'x' && value[1] != 'X'))
        return false;
    unsigned attributes = 0;
    const auto [end, ec] = std::from_chars(value + 2, value + size, attributes, 16);
    (void)end;
    return ec == std::errc() && (attributes & 0x6) != 0;
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
    return fs::is_regular_file(candidate, ec) && !HiddenToWine(candidate) ? candidate.string()
                                                                          : std::string();
}

std::string MapDosPath(const std::string& dosDevices, const std::string& dosPath) {
    if (dosDevices.empty() || !(IsDosForm(dosPath) || IsDriveRooted(dosPath)))
        return StrReplace("\\", "/", dosPath);
    const std::string path = IsDosForm(dosPath) ? dosPath : "C:" + dosPath;
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
    // Installed: bin/nickmaker and share/nickmaker/alias.pgc; in a build tree
    // the files sit beside the program.
    const fs::path installed = exe.parent_path().parent_path() / "share" / "nickmaker";
    if (exe.parent_path().filename() == "bin" && fs::is_directory(installed, ec))
        return installed.string();
    return exe.parent_path().string();
}

std::string UserCatalogueFile() {
    return UserFolder("XDG_DATA_HOME", ".local/share") + "/nickmaker/" + CatalogueFileName;
}

HostContext SystemHostContext(Prompter& prompter, RegistryBackend& registry) {
    return HostContext{prompter,
                       registry,
                       ProgramFolder(),
                       WinePrefix() + "/dosdevices",
                       WineVariables(registry, ProcessVariables()),
                       UserCatalogueFile()};
}

} // namespace nm
