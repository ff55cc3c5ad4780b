// The search for the host's file on Windows, where a file's attributes say
// whether it counts and the system matches names without regard to case.
#include "tests/support/Doubles.h"

#include "host/Locator.h"
#include "host/MemoryRegistry.h"
#include "host/Win32.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace nm;
using namespace nm::test;
namespace fs = std::filesystem;

namespace {

TEST(Win32Locator, OnlyOrdinaryFilesCountAlongTheSearchList) {
    TempDir dir;
    const std::string c = dir.Path("c");
    const std::vector<std::pair<std::string, DWORD>> entries = {
        {"Hidden\\vtrm.pgp", FILE_ATTRIBUTE_HIDDEN},
        {"System\\VTRM.PGP", FILE_ATTRIBUTE_SYSTEM},
        {"Support\\Vtrm.pgp", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE}};
    for (const auto& [name, attributes] : entries) {
        fs::create_directories(fs::path(dir.Path("c\\" + name)).parent_path());
        SetFileAttributesW(Wide(dir.Write("c\\" + name, "CP,*COPY\r\n")).c_str(), attributes);
    }
    fs::create_directories(c + "\\Folder\\vtrm.pgp");
    SetEnv("NM_TEST_DIR", c);
    ScriptedPrompter prompter;
    MemoryRegistry registry;
    const HostContext host = SystemHostContext(prompter, registry);
    // Quoted, in another letter case, through the environment, and a folder
    // named like the file: only the ordinary file in Support counts.
    std::vector<std::string> searched;
    EXPECT_EQ(FindFileOnPath(host, "vtrm.pgp",
                             "\"" + c + "\\Hidden\";%NM_TEST_DIR%\\SYSTEM;" + c + "\\Folder\\;" +
                                 c + "\\support",
                             &searched),
              c + "\\support\\Vtrm.pgp");
    EXPECT_EQ(searched, (std::vector<std::string>{c + "\\Hidden\\", c + "\\SYSTEM\\",
                                                  c + "\\Folder\\", c + "\\support\\"}));
    // In the current folder any entry counts, a hidden one too.
    const fs::path saved = fs::current_path();
    fs::current_path(c + "\\Hidden");
    EXPECT_EQ(FindFileOnPath(host, "vtrm.pgp", c + "\\Support"), c + "\\Hidden\\vtrm.pgp");
    fs::current_path(saved);
    SetFileAttributesW(Wide(c + "\\Support\\Vtrm.pgp").c_str(), FILE_ATTRIBUTE_NORMAL);
}

} // namespace
