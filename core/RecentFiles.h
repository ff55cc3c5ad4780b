// The files the user last opened or saved, newest first, kept in the settings
// so that the next run offers them again.
#pragma once

#include "host/FileSystem.h"
#include "host/Prompter.h"
#include "host/SettingsStore.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace nm {

// A section of the editor's settings for the list: keys "File1" (the newest)
// to "File8".
inline constexpr const char* RecentFilesSection = "Recent Files";

class RecentFiles {
public:
    static constexpr std::size_t MaxFiles = 8;

    // Reads the list from `application`/`section`: empty values are skipped,
    // and a file named twice is kept at its first place.
    RecentFiles(SettingsStore& settings, std::string application, std::string section);

    // Newest first, at most MaxFiles.
    const std::vector<std::string>& Files() const { return files_; }

    // Puts `path` ("" is ignored) at the top; a file already listed moves up,
    // the oldest falls off past MaxFiles. Files are the same as the system
    // names them: exactly on POSIX, letter case and "/" against "\" aside on
    // Windows. Both raise RuntimeError when the settings cannot be written;
    // the list itself is changed already.
    void Add(const std::string& path);
    void Remove(const std::string& path);

private:
    // Writes the keys whose value differs from what the settings hold.
    void Store();

    SettingsStore& settings_;
    std::string application_;
    std::string section_;
    std::vector<std::string> files_;
    std::array<std::string, MaxFiles> stored_; // the values of File1..File8 in the settings
};

// The file at `index` of the list when it is still there (a regular file,
// whatever its length). One that is not is taken off the list and the user
// told so in a box; then, and for an index past the list, nullopt.
std::optional<std::string> PickRecent(RecentFiles& recent, FileSystem& files, Prompter& prompter,
                                      std::size_t index);

} // namespace nm
