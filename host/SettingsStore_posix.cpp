#include "host/SettingsStore.h"

#include "host/Paths.h"

namespace nm {

std::string DefaultSettingsPath() {
    return UserFolder("XDG_CONFIG_HOME", ".config") + "/nickmaker/settings.ini";
}

std::unique_ptr<SettingsStore> MakeSystemSettingsStore(FileSystem& files) {
    return std::make_unique<IniSettingsStore>(files, DefaultSettingsPath());
}

} // namespace nm
