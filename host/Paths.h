// Paths as the editor's text (UTF-8) names them, and the system's view of them.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace nm {

// The folder part up to and including the last "/", "\" or ":"; "" for a bare name.
std::string PathPart(std::string_view path);
// The file-name part of a path (after the last "/" or, on Windows, "\" or ":").
std::string FileNamePart(const std::string& path);
// The folder part of a path, with its separator ("" for a bare name).
std::string FolderPart(const std::string& path);

// The path made absolute against the current folder, "." and ".." resolved;
// "" when that fails.
std::string FullPathName(std::string_view path);

// True when both paths name the same existing file.
bool SameFile(const std::string& a, const std::string& b);
// True when the system takes both names for the same file whether or not it
// exists: letter case and either separator aside on Windows, byte for byte
// elsewhere.
bool SamePathName(const std::string& a, const std::string& b);

// A path of the editor's text (UTF-8) for the file system, and back.
std::filesystem::path NativePath(const std::string& path);
std::string PathText(const std::filesystem::path& path);

#ifndef _WIN32
// A folder of the user's by the XDG rules: the one `variable` names when it is
// absolute, else `underHome` below the home folder.
std::string UserFolder(const char* variable, const char* underHome);
#endif

} // namespace nm
