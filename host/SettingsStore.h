// The per-user settings store: values kept between runs under an application,
// a section and a key, whose names are used exactly as given (trailing blanks
// included), so that a value stored by an earlier run is found again.
#pragma once

#include "host/FileSystem.h"

#include <memory>
#include <string>
#include <utility>

namespace nm {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored value, or `fallback` when there is none or it cannot be read.
    virtual std::string GetSetting(const std::string& application, const std::string& section,
                                   const std::string& key, const std::string& fallback) = 0;
    // Stores a value; raises RuntimeError when it cannot be written.
    virtual void SaveSetting(const std::string& application, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
};

// Settings kept in an INI file:
//   [application\section]
//   key=value
// Names are taken byte for byte between the brackets and before the first "=".
// Saving keeps every other line of the file as it was. Names and values the
// file could not give back unchanged (a line break, an "=" in a key, a key
// starting with "[", a value ending in CR) raise run-time error 5.
class IniSettingsStore final : public SettingsStore {
public:
    IniSettingsStore(FileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}
    std::string GetSetting(const std::string& application, const std::string& section,
                           const std::string& key, const std::string& fallback) override;
    void SaveSetting(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& value) override;
    const std::string& Path() const { return path_; }

private:
    FileSystem& files_;
    std::string path_;
};

#ifdef _WIN32
// Settings in the per-user registry key of the classic BASIC get-setting and
// save-setting functions, where earlier versions of the editor kept them:
//   HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>
// with the text value <key>.
class RegistrySettingsStore final : public SettingsStore {
public:
    std::string GetSetting(const std::string& application, const std::string& section,
                           const std::string& key, const std::string& fallback) override;
    void SaveSetting(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& value) override;
};
#else
// The INI file in the user's configuration folder:
// $XDG_CONFIG_HOME/nickmaker/settings.ini, or ~/.config/nickmaker/settings.ini.
std::string DefaultSettingsPath();
#endif

// The store of this system: the registry on Windows, the INI file elsewhere.
std::unique_ptr<SettingsStore> MakeSystemSettingsStore(FileSystem& files);

} // namespace nm
