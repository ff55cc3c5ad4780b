// Key paths, search lists and the string routines under them, on any text.
#include "fuzz/FuzzSupport.h"

#include "host/Environment.h"
#include "host/HostKeys.h"
#include "host/Locator.h"
#include "host/MemoryRegistry.h"
#include "host/Paths.h"
#include "host/StrOps.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nm;
    const std::string text(reinterpret_cast<const char*>(data), size);
    nm::SilentPrompter prompter;
    RootKey root = NoRoot;
    hkeyPathFormat(prompter, text, root);
    const auto pieces = StrSplit(";", text);
    if (pieces.empty())
        __builtin_trap();
    StrReplace("\\", "/", text);
    TrimBlanks(text);
    Variables variables;
    variables.Set("SystemDrive", "C:");
    variables.Set("PATH", text);
    ExpandEnvVars(text, variables);
    PathPart(text);
    MemoryRegistry registry;
    const HostContext host{prompter, registry, fuzz::Scratch(), fuzz::Scratch() + "/dosdevices"};
    FindFileOnPath(host, "vtrm.pgp", text);
    FindFileOnPath(host, text, "");
    return 0;
}
