#include "core/RecentFiles.h"

#include "host/Paths.h"

#include <algorithm>
#include <utility>

namespace nm {

namespace {

std::string Key(std::size_t slot) {
    return "File" + std::to_string(slot + 1);
}

auto SameAs(const std::string& path) {
    return [&path](const std::string& listed) { return SamePathName(listed, path); };
}

} // namespace

RecentFiles::RecentFiles(SettingsStore& settings, std::string application, std::string section)
    : settings_(settings), application_(std::move(application)), section_(std::move(section)) {
    for (std::size_t slot = 0; slot < MaxFiles; ++slot) {
        stored_[slot] = settings_.GetSetting(application_, section_, Key(slot), "");
        const std::string& path = stored_[slot];
        if (!path.empty() && std::none_of(files_.begin(), files_.end(), SameAs(path)))
            files_.push_back(path);
    }
}

void RecentFiles::Add(const std::string& path) {
    if (path.empty())
        return;
    std::erase_if(files_, SameAs(path));
    files_.insert(files_.begin(), path);
    if (files_.size() > MaxFiles)
        files_.resize(MaxFiles);
    Store();
}

void RecentFiles::Remove(const std::string& path) {
    if (std::erase_if(files_, SameAs(path)))
        Store();
}

void RecentFiles::Store() {
    for (std::size_t slot = 0; slot < MaxFiles; ++slot) {
        const std::string value = slot < files_.size() ? files_[slot] : std::string();
        if (value == stored_[slot])
            continue;
        settings_.SaveSetting(application_, section_, Key(slot), value);
        stored_[slot] = value;
    }
}

std::optional<std::string> PickRecent(RecentFiles& recent, FileSystem& files, Prompter& prompter,
                                      std::size_t index) {
    if (index >= recent.Files().size())
        return std::nullopt;
    const std::string path = recent.Files()[index];
    FileInfo info;
    if (!files.Stat(path, info) && info.regular)
        return path;
    recent.Remove(path);
    prompter.Message(path + "\r\n\r\n这个文件已不存在, 已从最近的文件列表中删除.",
                     Icon::Information, "最近的文件");
    return std::nullopt;
}

} // namespace nm
