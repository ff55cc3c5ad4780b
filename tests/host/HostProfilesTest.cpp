// The host's releases, products and the current user's profiles, listed from
// both views of the machine's keys, each profile with the file it leads to.
#include "tests/support/Doubles.h"

#include "host/HostKeys.h"
#include "host/HostProfiles.h"
#include "host/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace nm;
using namespace nm::test;

TEST(HostProfiles, ListsEachReleaseOnceWithItsProfilesFiles) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path("found"));
    const std::string found = dir.Write("found/vtrm.pgp", "CP,*COPY\r\n");
    const std::string none = dir.Path("none"), list = none + ";" + dir.Path("found");
    MemoryRegistry registry;
    registry.SetTwoViews(true);
    const std::string bits32 = "SOFTWARE\\Wow6432Node\\Tessaron\\Vectrom\\";
    const std::string bits64 = "SOFTWARE\\Tessaron\\Vectrom\\";
    registry.SetText(LocalMachine, bits32, "CurVer", "r15.0");
    registry.SetText(LocalMachine, bits32 + "R15.0", "CurVer", "vtrm-4001:804");
    // The 64-bit view: a release of its own, and R15.0 again, which is hidden.
    registry.SetText(LocalMachine, bits64 + "R14.0", "CurVer", "VTRM-3001:804");
    for (const std::string& product :
         {bits32 + "R15.0\\VTRM-4001:804", bits32 + "R15.0\\VTRM-4001:409",
          bits64 + "R14.0\\VTRM-3001:804", bits64 + "r15.0\\VTRM-64"})
        registry.SetText(LocalMachine, product, "ProductName", "Vectrom");
    const std::string profiles = "SOFTWARE\\Tessaron\\Vectrom\\R15.0\\VTRM-4001:804\\Profiles\\";
    registry.SetText(CurrentUser, profiles, "", "DRAFTING");
    registry.SetText(CurrentUser, profiles + "Drafting\\General", "VTRM", list);
    registry.SetText(CurrentUser, profiles + "Missing\\General", "VTRM", none);
    registry.SetText(CurrentUser, profiles + "No List\\General", "MaxArray", "1");
    ScriptedPrompter prompter;
    const std::vector<HostRelease> releases = ListHostProfiles({prompter, registry, "", ""});

    // Every level as a line: name, current mark, view; search list and file.
    const auto mark = [](bool current) { return std::string(current ? " *" : ""); };
    const auto file = [&](const std::string& path) {
        return path.empty() ? "none" : std::filesystem::equivalent(path, found) ? "found" : path;
    };
    std::vector<std::string> outline;
    for (const HostRelease& release : releases) {
        outline.push_back(release.name + mark(release.current) + " " + ViewName(release.view));
        for (const HostProduct& product : release.products) {
            outline.push_back("  " + product.name + mark(product.current));
            for (const HostProfile& p : product.profiles)
                outline.push_back("    " + p.name + mark(p.current) + " [" + p.searchList + "] " +
                                  file(p.file));
        }
    }
    EXPECT_EQ(outline, (std::vector<std::string>{
                           "R15.0 * 32-bit (Wow6432Node)",
                           "  VTRM-4001:409",
                           "  VTRM-4001:804 *",
                           "    Drafting * [" + list + "] found",
                           "    Missing [" + none + "] none",
                           "    No List [] none",
                           "R14.0 64-bit",
                           "  VTRM-3001:804 *",
                       }));
}
