// Files nobody should write but somebody will: huge, binary, broken. The
// readers finish, keep what they can, and never crash or hang.
#include "tests/support/Doubles.h"

#include "catalog/CommandCatalogue.h"
#include "core/ListRows.h"
#include "core/PgpReader.h"
#include "core/PgpWriter.h"
#include "host/Registry.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace nm;
using namespace nm::test;

namespace {

std::string Lines(int count, const std::string& line) {
    std::string text;
    text.reserve(static_cast<std::size_t>(count) * (line.size() + 2));
    for (int i = 0; i < count; ++i)
        text += line + "\r\n";
    return text;
}

TEST(HostileInput, ProgramParametersFiles) {
    struct Case {
        std::string name;
        std::string bytes;
        bool completes;
        std::size_t aliases, shells;
    };
    const std::string invalid = "CP,*CO\x80\xFF\xFE"
                                "PY\r\n";
    const std::vector<Case> cases = {
        {"50 MB of comments around two aliases",
         "A,*ARC\r\n" + Lines(1'700'000, "; a comment line of about thirty bytes") + "L,*LINE\r\n",
         true, 2, 0},
        {"one line of 10 MB", std::string(10'000'000, 'x') + "\r\n", true, 1, 0},
        {"NUL bytes", std::string("\0X,*Y\r\nCP,*CO\0PY\r\n", 18), true, 1, 0},
        {"bytes valid in no code page", invalid, true, 1, 0},
        {"40000 entry lines", Lines(40000, "S,C,1,,"), false, 0, 32767},
        {"a shell line with 1000 commas", "S" + std::string(1000, ',') + "\r\n", true, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        TempDir dir;
        const ReadResult result = ReadPgpFile(h.main, dir.Write("f.pgp", c.bytes), false);
        EXPECT_EQ(result == ReadResult::Completed, c.completes);
        EXPECT_EQ(h.main.AliasNames.size(), c.aliases);
        EXPECT_EQ(h.main.ShellNames.size(), c.shells);
    }
}

TEST(HostileInput, CatalogueFiles) {
    TempDir dir;
    ScriptedPrompter prompter;
    StoredRegistry registry;
    const HostContext host{prompter, registry, dir.Path(""), ""};
    std::string many;
    for (int i = 0; i < 100000; ++i)
        many += "N" + std::to_string(i) + "\r\n";
    EXPECT_EQ(LoadCommandCatalogue(host, dir.Write("many.pgc", many)).size(), CatalogueCapacity);

    // Includes that name something other than a file count as missing, at once.
    std::filesystem::create_directory(dir.Path("folder.pgc"));
    std::string main = "A\r\n#include \"" + dir.Path("folder.pgc") + "\"\r\n";
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(dir.Path("pipe.pgc").c_str(), 0600), 0);
    main += "#include \"" + dir.Path("pipe.pgc") + "\"\r\n#include \"/dev/zero\"\r\n";
#endif
    main += "B\r\n";
    EXPECT_EQ(LoadCommandCatalogue(host, dir.Write("alias.pgc", main)),
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
    WineRegistry registry(prefix.Path(""));
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
