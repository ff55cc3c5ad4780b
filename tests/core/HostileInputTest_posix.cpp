// Catalogue files nobody should write but somebody will: a pipe or a device
// named as an include. The reader finishes at once and keeps what it can. (An
// include naming a folder is the catalogue's own test; broken bytes are the
// fuzz targets'.)
#include "tests/support/Doubles.h"

#include "catalog/CommandCatalogue.h"
#include "host/MemoryRegistry.h"

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

} // namespace
