// The file operations of the editor. Failures raise RuntimeError with the
// run-time number of the system error.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace nm {

// True when `path` names a regular file (or a link to one) whose length can
// be read and is not zero. A folder is not a file.
bool FileExists(const std::string& path);

// The whole content of a file.
std::string ReadFileBytes(const std::string& path);

// Replaces the content of `path` without ever leaving a half-written file: the
// bytes go to a temporary file in the same folder, are flushed, and the
// temporary file then takes the target's place (keeping the target's
// permissions, and its owner and group where the user may set them; through a
// symbolic link the link's target is replaced). A file the user may not write
// is not replaced: error 75, before anything is written. On failure the
// target is untouched and the temporary file removed.
void WriteFileSafely(const std::string& path, std::string_view bytes);

// Adds `bytes` at the end of the existing file `path`, in place (a folder the
// user may not write does not matter). All of them or none: on failure the
// file is cut back to its old length, so it keeps its old bytes whole.
void AppendFileBytes(const std::string& path, std::string_view bytes);

// The file-name part of a path (after the last "/" or, on Windows, "\").
std::string FileNamePart(const std::string& path);
// The folder part of a path, with its separator ("" for a bare name).
std::string FolderPart(const std::string& path);

// True when both paths name the same existing file.
bool SameFile(const std::string& a, const std::string& b);

// A path of the editor's text (UTF-8) for the file system, and back.
std::filesystem::path NativePath(const std::string& path);
std::string PathText(const std::filesystem::path& path);

} // namespace nm
