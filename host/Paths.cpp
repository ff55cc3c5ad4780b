#include "host/Paths.h"

#include <system_error>

namespace nm {

std::string PathPart(std::string_view path) {
    const std::size_t cut = path.find_last_of("/\\:");
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::string FolderPart(const std::string& path) {
    return path.substr(0, path.size() - FileNamePart(path).size());
}

bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty())
        return false;
    std::error_code ec;
    const bool same = std::filesystem::equivalent(NativePath(a), NativePath(b), ec);
    return !ec && same;
}

} // namespace nm
