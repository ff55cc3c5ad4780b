// The registry on POSIX systems, where the host runs under Wine.
#include "host/RegistryBackend.h"
#include "host/WineRegistry.h"

namespace nm {

// The host runs under Wine here: its settings are in the prefix's files.
std::unique_ptr<RegistryBackend> MakeSystemRegistry(FileSystem& files) {
    return std::make_unique<WineRegistry>(files, WinePrefix());
}

} // namespace nm
