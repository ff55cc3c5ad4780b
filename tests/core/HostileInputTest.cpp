// Catalogue and registry files nobody should write but somebody will: huge,
// binary, broken. The readers finish, keep what they can, and never crash or
// hang.
#include "tests/support/Doubles.h"

#include "catalog/CommandCatalogue.h"
#include "host/HostKeys.h"
#include "host/WineRegistry.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace nm;
using namespace nm::test;

namespace {

TEST(HostileInput, CatalogueFiles) {
    TempDir dir;
    ScriptedPrompter prompter;
    MemoryRegistry registry;
    SystemFileSystem files;
    const HostContext host{prompter, registry, dir.Path(""), ""};
    // Includes that name something other than a file count as missing, at once.
    std::filesystem::create_directory(dir.Path("folder.pgc"));
    std::string main = "A\r\n#include \"" + dir.Path("folder.pgc") + "\"\r\n";
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(dir.Path("pipe.pgc").c_str(), 0600), 0);
    main += "#include \"" + dir.Path("pipe.pgc") + "\"\r\n#include \"/dev/zero\"\r\n";
#endif
    main += "B\r\n";
    EXPECT_EQ(LoadCommandCatalogue(files, host, dir.Write("alias.pgc", main)),
              (std::vector<std::string>{"A", "B"}));
#ifndef _WIN32
    EXPECT_EQ(prompter.shown.size(), 3u);
#else
    EXPECT_EQ(prompter.shown.size(), 1u);
#endif
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
