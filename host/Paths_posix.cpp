#include "host/Paths.h"

#include <cstdlib>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace nm {

bool SamePathName(const std::string& a, const std::string& b) {
    return a == b;
}

std::string FileNamePart(const std::string& path) {
    const auto cut = path.find_last_of('/');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string FullPathName(std::string_view path) {
    if (path.empty())
        return {};
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(std::filesystem::path(path), ec);
    if (ec)
        return {};
    std::string full = absolute.lexically_normal().string();
    // "/dir/." and "/dir/" keep no separator at the end, as a folder's full name.
    if (full.size() > 1 && (full.back() == '/' || full.back() == '\\'))
        full.pop_back();
    return full;
}

std::filesystem::path NativePath(const std::string& path) {
    return std::filesystem::path(path);
}

std::string PathText(const std::filesystem::path& path) {
    return path.native();
}

std::string UserFolder(const char* variable, const char* underHome) {
    // A relative value is invalid and must be ignored.
    if (const char* folder = std::getenv(variable); folder && folder[0] == '/')
        return folder;
    std::string home;
    if (const char* env = std::getenv("HOME"); env && *env)
        home = env;
    else if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir)
        home = user->pw_dir;
    return home + "/" + underHome;
}

} // namespace nm
