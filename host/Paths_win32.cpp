#include "host/Paths.h"

#include "host/Utf8.h"
#include "host/Win32.h"

#include <algorithm>

namespace nm {

std::string FileNamePart(const std::string& path) {
    const auto cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string FullPathName(std::string_view path) {
    if (path.empty())
        return {};
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
}

bool SamePathName(const std::string& a, const std::string& b) {
    std::string left = a, right = b;
    std::replace(left.begin(), left.end(), '/', '\\');
    std::replace(right.begin(), right.end(), '/', '\\');
    return CompareNoCase(left, right) == 0;
}

std::filesystem::path NativePath(const std::string& path) {
    return std::filesystem::path(Wide(path));
}

std::string PathText(const std::filesystem::path& path) {
    return Narrow(path.native());
}

} // namespace nm
