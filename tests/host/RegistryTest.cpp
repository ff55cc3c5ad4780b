// Value reads, the host's keys and the search for its file, once over every
// registry backend (tests/host/RegistryBackends.h).
#include "tests/host/RegistryBackends.h"

#include "host/HostKeys.h"
#include "host/Locator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

using namespace nm;
using namespace nm::test;

namespace {

const std::string Machine = "SOFTWARE\\Tessaron\\Vectrom";

template <class Keys> class RegistryBackends : public testing::Test {};
TYPED_TEST_SUITE(RegistryBackends, RegistryBackendTypes);

TYPED_TEST(RegistryBackends, ReadsOneValueOrTheDefault) {
    TypeParam keys({
        {LocalMachine, Machine, "Fits", Quoted(std::string(254, 'x'))},
        {LocalMachine, Machine, "TooLong", Quoted(std::string(255, 'x'))},
        {LocalMachine, Machine, "Number", "dword:00000010"},
        {LocalMachine, Machine, "Expand", // UTF-16, over lines ended by a backslash
         "hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,44,00,\\\n"
         "  72,00,69,00,76,00,65,00,25,00,00,00"},
        {LocalMachine, Machine, "Accent", R"("say \"Caf\x00e9\"")"},
        {LocalMachine, Machine, "", Quoted("default value")},
        {LocalMachine, Machine, "Empty", "hex:"},
        {ClassesRoot, "nickmaker.test", "", Quoted("Vectrom.Parameters")},
        {CurrentUser, "SOFTWARE\\Tessaron", "Who", Quoted("drafter")},
    });
    const std::string key = "HKEY_LOCAL_MACHINE\\" + Machine;
    const std::vector<std::tuple<std::string, std::string, RegistryValue>> cases = {
        {key + "\\", "fits", std::string(254, 'x')},
        {key, "TooLong", std::string("dflt")},
        {"hkey_local_machine/software/tessaron/vectrom", "Number", 16},
        {"\\\\" + key, "Expand", std::string("%SystemDrive%")},
        {key, "Accent", std::string("say \"Caf\xC3\xA9\"")},
        {key, "", std::string("default value")},
        {key, "Empty", std::string("dflt")},
        {key, "Missing", std::string("dflt")},
        {"HKEY_CLASSES_ROOT\\NICKMAKER.TEST", "", std::string("Vectrom.Parameters")},
        {"HKEY_CURRENT_USER\\Software\\Tessaron", "who", std::string("drafter")},
        {"HKEY_CURRENT_USER\\" + Machine, "Fits", std::string("dflt")},
        {"HKLM\\" + Machine, "Fits", std::string("dflt")}, // a short root name is not known
        {"", "Fits", std::string("dflt")},
    };
    const std::vector<std::string> noRoot = {"zent_RegistryRead: Cannot find main registry key: "};
    for (const auto& [path, name, expected] : cases) {
        SCOPED_TRACE(path + " " + name);
        ScriptedPrompter prompter;
        EXPECT_EQ(zent_RegistryRead(keys.Registry(), prompter, path, name, std::string("dflt")),
                  expected);
        EXPECT_EQ(keys.OpenKeys(), 0); // every key opened was closed
        EXPECT_EQ(prompter.Texts(), path.empty() ? noRoot : std::vector<std::string>{});
    }
}

// The host's release (R15.0 where it is installed beside an older current
// release), product and profile, and its file along the profile's list.
TYPED_TEST(RegistryBackends, FindsTheHostFileThroughItsKeys) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path("Support"));
    const std::string file = dir.Write("Support/vtrm.pgp", "CP,*COPY\r\n");
    // The current release, whether R15.0 is installed, the release and product
    // chosen, and whether the keys are in the 32-bit view (where the host's
    // installer puts them), ahead of a 64-bit view's.
    const std::vector<std::tuple<std::string, bool, std::string, std::string, bool>> cases = {
        {"R14.0", true, "R15.0", "VTRM-15", false},
        {"R14.0", false, "R14.0", "VTRM-14", false},
        {"R15.1", true, "R15.1", "", false},
        {"Rnext", true, "Rnext", "", false},
        {"", true, "", "", false},
        {"R14.0", true, "R15.0", "VTRM-15", true}};
    for (const auto& [curVer, r15, release, product, wow] : cases) {
        SCOPED_TRACE(curVer + (wow ? " 32-bit" : ""));
        const std::string machine = wow ? "SOFTWARE\\Wow6432Node\\Tessaron\\Vectrom" : Machine;
        const std::string profiles = Machine + "\\" + release + "\\VTRM-15\\Profiles";
        std::vector<KeyValue> values;
        if (!curVer.empty())
            values = {{LocalMachine, machine, "CurVer", Quoted(curVer)},
                      {LocalMachine, machine + "\\R14.0", "CurVer", Quoted("VTRM-14")},
                      {CurrentUser, profiles, "", Quoted("<<Unnamed Profile>>")},
                      {CurrentUser, profiles + "\\<<Unnamed Profile>>\\General", "VTRM",
                       Quoted(dir.Path("Missing") + ";\"" + dir.Path("Support") + "\"")}};
        if (r15)
            values.push_back({LocalMachine, machine + "\\R15.0", "CurVer", Quoted("VTRM-15")});
        if (wow)
            values.push_back({LocalMachine, Machine, "CurVer", Quoted("R15.1")});
        TypeParam keys(values);
        ScriptedPrompter prompter;
        HostContext host{prompter, keys.Registry(), "", ""};
        LocateTrace trace;
        const std::string found = FindHostPgpFile(host, &trace);
        EXPECT_EQ(trace.release, release);
        EXPECT_EQ(trace.product, product);
        EXPECT_EQ(trace.profile, product == "VTRM-15" ? "<<Unnamed Profile>>" : "");
        EXPECT_TRUE(product != "VTRM-15" ? found.empty()
                                         : std::filesystem::equivalent(found, file));
        EXPECT_TRUE(prompter.shown.empty());
        EXPECT_TRUE(!wow || trace.view == RegistryView::Bits32);
    }
}

} // namespace
