// Finding a file along a search list as the host under Wine sees it: DOS
// paths through the prefix's drives (a path without a drive on C:), the
// host's variables, the current folder and the host's PATH.
#include "tests/support/Doubles.h"

#include "host/Locator.h"
#include "host/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

using namespace nm;
using namespace nm::test;
namespace fs = std::filesystem;

TEST(FindFileOnPath, EntryFormsThroughTheDrives) {
    // A Wine prefix with drive C:, in a folder of its own; a name ending in
    // "/" is a folder (named like the file, it is no match).
    TempDir dir;
    fs::create_directories(dir.Path("dosdevices"));
    fs::create_symlink("../drive_c", dir.Path("dosdevices/c:"));
    for (const std::string file : {"D/vtrm.pgp", "D/.hidden.pgp", "B C/VTRM.PGP", "bin2/path.pgp",
                                   "here/.here.pgp", "A/", "Users/Drafter/x/vtrm.pgp/"}) {
        fs::create_directories(fs::path(dir.Path("drive_c/" + file)).parent_path());
        if (file.back() != '/')
            dir.Write("drive_c/" + file, "x");
    }
    const std::string drive = fs::canonical(dir.Path("drive_c")).string();
    MemoryRegistry registry;
    ScriptedPrompter prompter;
    HostContext host{prompter, registry, "", dir.Path("dosdevices")};
    host.variables.Set("HOME", "C:\\Users\\drafter");
    host.variables.Set("PATH", "C:\\bin1;\\bin2");
    const fs::path savedFolder = fs::current_path();
    fs::current_path(drive + "/here");
    // The name, the search list, the folders searched and the file found.
    const std::vector<std::tuple<std::string, std::string, std::vector<std::string>, std::string>>
        cases = {
            {"vtrm.pgp", "C:/D/", {drive + "/D/"}, "/D/vtrm.pgp"},
            {" \t\"vtrm.pgp\"\" ", "C:\\D", {drive + "/D/"}, "/D/vtrm.pgp"},
            {"vtrm.pgp", ";\\D;", {drive + "/", drive + "/D/"}, "/D/vtrm.pgp"},
            {"vtrm.pgp",
             "C:\\a;%home%\\x;\"c:\\b c\"",
             {drive + "/A/", drive + "/Users/Drafter/x/", drive + "/B C/"},
             "/B C/VTRM.PGP"},
            {".hidden.pgp", "C:\\D", {drive + "/D/"}, ""},
            {"C:\\Other\\vtrm.pgp", "C:\\D", {}, ""},
            {"\"\"", "C:\\D", {}, ""},
            // The current folder first, then PATH; in the current folder any
            // entry counts, a hidden one too.
            {"path.pgp",
             "",
             {drive + "/here/", drive + "/bin1/", drive + "/bin2/"},
             "/bin2/path.pgp"},
            {".here.pgp", "C:\\D", {}, "/here/.here.pgp"},
        };
    for (const auto& [name, list, expected, found] : cases) {
        SCOPED_TRACE(name + " in " + list);
        std::vector<std::string> searched;
        EXPECT_EQ(FindFileOnPath(host, name, list, &searched), found.empty() ? "" : drive + found);
        EXPECT_EQ(searched, expected);
    }
    fs::current_path(savedFolder);
}
