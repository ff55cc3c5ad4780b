// The registry files of a Wine prefix, and value reads and the host's
// environment through them, on any bytes.
#include "fuzz/FuzzSupport.h"

#include "host/HostKeys.h"
#include "host/WineEnvironment.h"
#include "host/WineRegistry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nm;
    const std::string text(reinterpret_cast<const char*>(data), size);
    ParseWineRegistry(
        text, [](const std::string&) {}, [](const std::string&, MemoryRegistry::Value) {});
    fuzz::WriteScratch("system.reg", data, size);
    fuzz::WriteScratch("user.reg", data, size);
    nm::SilentPrompter prompter;
    SystemFileSystem files;
    WineRegistry registry(files, fuzz::Scratch());
    HostCurrentProfile(registry, prompter);
    WineVariables(registry, Variables());
    zent_RegistryRead(registry, prompter, "HKEY_CLASSES_ROOT\\.pgp", "");
    zent_RegistryRead(registry, prompter, "HKEY_CURRENT_CONFIG\\System", "x");
    return 0;
}
