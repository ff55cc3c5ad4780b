// Whether the document's file still holds what the document last read from
// it or wrote to it, for the editor to tell the user when someone else has
// changed it.
#pragma once

#include "core/Main.h"

#include "host/FileSystem.h"

#include <string>

namespace nm {

enum class DiskState {
    Same,    // the bytes the document last saw, or no file is tracked
    Changed, // other bytes (an emptied file too)
    Gone,    // no file there any more, or one that cannot be read
};

// The file at seen.path now, against the stamp the document keeps (Main::Disk).
// A save by the editor re-stamps, so the editor's own writes read as Same.
DiskState CheckDisk(FileSystem& files, const FileStamp& seen);

// The status line's word for a file in that state.
std::string DiskChangedText(const std::string& path);
std::string DiskGoneText(const std::string& path);

} // namespace nm
