#include "host/SettingsStore.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace nm {

std::string DefaultSettingsPath() {
    // A relative XDG_CONFIG_HOME is invalid and must be ignored.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        return std::string(config) + "/nickmaker/settings.ini";
    std::string home;
    if (const char* env = std::getenv("HOME"); env && *env)
        home = env;
    else if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir)
        home = user->pw_dir;
    return home + "/.config/nickmaker/settings.ini";
}

std::unique_ptr<SettingsStore> MakeSystemSettingsStore(FileSystem& files) {
    return std::make_unique<IniSettingsStore>(files, DefaultSettingsPath());
}

} // namespace nm
