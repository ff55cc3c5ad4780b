// Catalogue and registry files nobody should write but somebody will: a pipe
// or a device named as an include, a huge or broken Wine registry. The readers
// finish, keep what they can, and never crash or hang. (An include naming a
// folder is the catalogue's own test.)
#include "tests/support/Doubles.h"

#include "catalog/CommandCatalogue.h"
#include "host/HostKeys.h"
#include "host/WineRegistry.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace nm;
using namespace nm::test;

namespace {

TEST(HostileInput, IncludesOfAPipeOrADeviceCountAsMissingAtOnce) {
    TempDir dir;
    ScriptedPrompter prompter;
    MemoryRegistry registry;
    SystemFileSystem files;
    const HostContext host{prompter, registry, dir.Path(""), ""};
    ASSERT_EQ(::mkfifo(dir.Path("pipe.pgc").c_str(), 0600), 0);
    const std::string main =
        "A\r\n#include \"" + dir.Path("pipe.pgc") + "\"\r\n#include \"/dev/zero\"\r\nB\r\n";
    EXPECT_EQ(LoadCommandCatalogue(files, host, dir.Write("alias.pgc", main)),
              (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(prompter.shown.size(), 2u);
}

TEST(HostileInput, RegistryFiles) {
    TempDir prefix;
    prefix.Write("system.reg",
                 "WINE REGISTRY Version 2\n[Software\\\\Broken\\x\n\"v\"=\"never read\"\n"
                 "[Software\\\\Tessaron\\\\Vectrom] 1\n\"Esc\"=\"a\\x\\q\\\n\"Bad\"=hex:zz,0\n"
                 "\"CurVer\"=\"" +
                     std::string(1'000'000, 'R') + "\"\n\"Dw\"=dword:\n[Unclosed\n");
    SystemFileSystem files;
    WineRegistry registry(files, prefix.Path(""));
    ScriptedPrompter prompter;
    // A value longer than the buffer is the default; nothing else is found.
    EXPECT_EQ(HostReleaseKey(registry, prompter), "");
    EXPECT_EQ(RegistryText(zent_RegistryRead(registry, prompter,
                                             "HKEY_LOCAL_MACHINE\\Software\\Tessaron\\Vectrom",
                                             "Dw", std::string("dflt"))),
              "dflt");
    EXPECT_TRUE(prompter.shown.empty());
}

} // namespace
