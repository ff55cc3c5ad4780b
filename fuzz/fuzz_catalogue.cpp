// The catalogue reader, with its include lines, on any bytes.
#include "fuzz/FuzzSupport.h"

#include "catalog/CommandCatalogue.h"
#include "host/MemoryRegistry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nm;
    nm::SilentPrompter prompter;
    MemoryRegistry registry;
    SystemFileSystem files;
    const HostContext host{prompter, registry, fuzz::Scratch(), ""};
    const std::string path = fuzz::WriteScratch("alias.pgc", data, size);
    const auto names = LoadCommandCatalogue(files, host, path);
    if (names.size() > CatalogueCapacity)
        __builtin_trap();
    return 0;
}
