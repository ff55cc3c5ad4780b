// The file operations of the editor. Failures raise RuntimeError with the
// run-time number of the system error.
#pragma once

#include "host/FileSystem.h"

#include <string>
#include <string_view>

namespace nm {

// True when `path` names a regular file (or a link to one) whose length can
// be read and is not zero. A folder is not a file.
bool FileExists(FileSystem& files, const std::string& path);

// The whole content of a file.
std::string ReadFileBytes(FileSystem& files, const std::string& path);

// Replaces the content of `path` without ever leaving a half-written file: the
// bytes go to a temporary file in the same folder, are flushed, and the
// temporary file then takes the target's place (keeping the target's
// permissions, and its owner and group where the user may set them; through a
// symbolic link the link's target is replaced). A file the user may not write
// is not replaced: error 75, before anything is written. On failure the
// target is untouched and the temporary file removed.
void WriteFileSafely(FileSystem& files, const std::string& path, std::string_view bytes);

// Adds `bytes` at the end of the existing file `path`, in place (a folder the
// user may not write does not matter). All of them or none: on failure the
// file is cut back to its old length, so it keeps its old bytes whole.
void AppendFileBytes(FileSystem& files, const std::string& path, std::string_view bytes);

} // namespace nm
