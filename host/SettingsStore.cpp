#include "host/SettingsStore.h"

#include "host/FileIo.h"
#include "host/Paths.h"
#include "host/RuntimeError.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

namespace nm {

// ---- the INI file ------------------------------------------------------------

namespace {

// The lines of the file without their LF; a final LF does not open another line.
std::vector<std::string> SplitFileLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        lines.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// A line as it is read: a file edited on Windows may still end its lines in CR.
std::string_view Content(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

// The name of a section header line. The last "]" closes it, so the name may
// itself hold brackets.
std::optional<std::string_view> SectionName(std::string_view content) {
    const std::size_t close = content.rfind(']');
    if (content.empty() || content.front() != '[' || close == std::string_view::npos)
        return std::nullopt;
    return content.substr(1, close - 1);
}

bool IsBlank(std::string_view content) {
    return content.find_first_not_of(" \t") == std::string_view::npos;
}

// Where a key is, or where it would go. Only the first block of a section
// counts, for reading and writing alike, so that what is saved is what is read.
struct Place {
    std::optional<std::size_t> header;
    std::optional<std::size_t> entry;
    std::size_t valueStart = 0; // byte offset of the value in the entry's line
    std::size_t insertAt = 0;   // after the section's last non-blank line
};

Place Find(const std::vector<std::string>& lines, const std::string& sectionName,
           const std::string& key) {
    Place place;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view content = Content(lines[i]);
        if (const auto name = SectionName(content)) {
            if (place.header)
                break;
            if (*name == sectionName) {
                place.header = i;
                place.insertAt = i + 1;
            }
            continue;
        }
        if (!place.header)
            continue;
        if (!IsBlank(content))
            place.insertAt = i + 1;
        const std::size_t equals = content.find('=');
        if (equals != std::string_view::npos && content.substr(0, equals) == key) {
            place.entry = i;
            place.valueStart = equals + 1;
            break;
        }
    }
    return place;
}

std::string SectionOf(const std::string& application, const std::string& section) {
    return application + "\\" + section;
}

// Names and values the file could not give back as they were saved: a line
// break anywhere, an "=" in a key or a key that would read as a section
// header, and a value ending in CR (which reading strips).
void CheckStorable(const std::string& application, const std::string& section,
                   const std::string& key, const std::string& value) {
    const auto hasBreak = [](const std::string& text) {
        return text.find('\n') != std::string::npos;
    };
    if (hasBreak(application) || hasBreak(section) || hasBreak(key) || hasBreak(value) ||
        key.find('=') != std::string::npos || (!key.empty() && key.front() == '[') ||
        (!value.empty() && value.back() == '\r'))
        throw RuntimeError(Err::InvalidCall);
}

void CreateFolderOf(const std::string& path) {
    const std::filesystem::path folder = NativePath(path).parent_path();
    if (folder.empty())
        return;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        throw ErrorFromSystem(ec, path);
}

} // namespace

std::string IniSettingsStore::GetSetting(const std::string& application, const std::string& section,
                                         const std::string& key, const std::string& fallback) {
    std::string bytes;
    try {
        bytes = ReadFileBytes(files_, path_);
    } catch (const RuntimeError&) {
        return fallback; // a store that cannot be read holds nothing yet
    }
    const std::vector<std::string> lines = SplitFileLines(bytes);
    const Place place = Find(lines, SectionOf(application, section), key);
    if (!place.entry)
        return fallback;
    return std::string(Content(lines[*place.entry]).substr(place.valueStart));
}

void IniSettingsStore::SaveSetting(const std::string& application, const std::string& section,
                                   const std::string& key, const std::string& value) {
    CheckStorable(application, section, key, value);
    CreateFolderOf(path_);
    std::string bytes;
    try {
        bytes = ReadFileBytes(files_, path_);
    } catch (const RuntimeError& error) {
        // Only a missing file starts empty: replacing one that cannot be read
        // would lose the other settings in it.
        if (error.Number() != Err::FileNotFound)
            throw;
    }
    std::vector<std::string> lines = SplitFileLines(bytes);
    const std::string sectionName = SectionOf(application, section);
    const Place place = Find(lines, sectionName, key);
    std::string entry = key + "=" + value;
    if (place.entry) {
        lines[*place.entry] = std::move(entry);
    } else if (place.header) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(place.insertAt), std::move(entry));
    } else {
        if (!lines.empty() && !IsBlank(Content(lines.back())))
            lines.emplace_back();
        lines.push_back("[" + sectionName + "]");
        lines.push_back(std::move(entry));
    }
    std::string out;
    for (const std::string& line : lines)
        out += line + "\n";
    WriteFileSafely(files_, path_, out);
}

} // namespace nm
