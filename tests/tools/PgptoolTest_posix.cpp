// pgptool locate on Linux, where a Wine prefix is where the host lives.
#include "tests/support/Doubles.h"
#include "tests/support/Program.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace nm::test;

namespace {

TEST(Pgptool, LocatesTheSampleHostsFileInAWinePrefix) {
    const std::string sample = std::filesystem::canonical(DataPath("../../examples/sample-host"));
    const ProgramRun found =
        RunProgram(PGPTOOL, {"locate", "-v"}, {{"LC_ALL", "C"}, {"WINEPREFIX", sample}});
    EXPECT_EQ(found.status, 0) << found.err;
    EXPECT_EQ(found.out, sample + "/drive_c/Vectrom/Support/vtrm.pgp\n");
    EXPECT_NE(found.err.find("registry view: 32-bit (Wow6432Node)\n"), std::string::npos);
    EXPECT_NE(found.err.find("searched: " + sample + "/drive_c/Vectrom/Support/"),
              std::string::npos);
    // Every profile at a glance, as text and as one JSON document.
    const std::string list = "\"C:\\Program Files\\Tessaron\\Vectrom R15.0\\Office Support\";"
                             "%SystemDrive%\\VECTROM\\SUPPORT;C:\\Vectrom\\Fonts";
    const std::string file = sample + "/drive_c/Vectrom/Support/vtrm.pgp";
    const ProgramRun all = RunProgram(PGPTOOL, {"locate", "--all"}, {{"WINEPREFIX", sample}});
    EXPECT_EQ(std::tie(all.status, all.out),
              std::tuple(0, "release * R15.0 (registry view: 32-bit (Wow6432Node))\n"
                            "  product * VTRM-4001:409\n    profile * <<Unnamed Profile>>\n"
                            "      search list: " +
                                list + "\n      file: " + file + "\n"));
    const ProgramRun json =
        RunProgram(PGPTOOL, {"locate", "--all", "--json"}, {{"WINEPREFIX", sample}});
    EXPECT_EQ(json.status, 0);
    for (const std::string& field :
         {std::string("\"name\": \"<<Unnamed Profile>>\",\n"),
          std::string("\"view\": \"32-bit (Wow6432Node)\",\n"), "\"file\": \"" + file + "\"\n"})
        EXPECT_NE(json.out.find(field), std::string::npos) << field;

    TempDir empty;
    const ProgramRun none =
        RunProgram(PGPTOOL, {"locate"}, {{"LC_ALL", "C"}, {"WINEPREFIX", empty.Path("")}});
    EXPECT_EQ(std::tie(none.status, none.out), std::tuple(1, ""));
}

} // namespace
