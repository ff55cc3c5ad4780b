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
    EXPECT_NE(found.err.find("searched: " + sample + "/drive_c/Vectrom/Support/"),
              std::string::npos);

    TempDir empty;
    const ProgramRun none =
        RunProgram(PGPTOOL, {"locate"}, {{"LC_ALL", "C"}, {"WINEPREFIX", empty.Path("")}});
    EXPECT_EQ(std::tie(none.status, none.out), std::tuple(1, ""));
}

} // namespace
