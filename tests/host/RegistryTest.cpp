// The string routines under the registry and the locator, key paths, value
// reads with their buffer and defaults, the host's keys, and the registry
// files of a Wine prefix.
#include "tests/support/Doubles.h"

#include "host/Registry.h"
#include "host/Strings.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace nm;
using namespace nm::test;

namespace {

const std::string Machine = "SOFTWARE\\Tessaron\\Vectrom";

TEST(Strings, ReplaceSplitTrimAndPathPart) {
    EXPECT_EQ(StrReplace("/", "\\", "a/b//c"), "a\\b\\\\c");
    EXPECT_EQ(StrReplace("aa", "b", "aaa"), "ba");
    EXPECT_EQ(StrReplace("", "x", "abc"), "abc");
    EXPECT_EQ(StrSplit(";", "a;;b;"), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(StrSplit(";", ""), std::vector<std::string>{""});
    EXPECT_EQ(TrimBlanks("\ta\tb  "), "a b");
    EXPECT_EQ(TrimLeading("\"\"\"x", "\""), "x");
    EXPECT_EQ(TrimTrailing("x\"\"", "\""), "x");
    EXPECT_EQ(PathPart("C:\\dir\\file.pgp"), "C:\\dir\\");
    EXPECT_EQ(PathPart("C:vtrm.pgp"), "C:");
    EXPECT_EQ(PathPart("vtrm.pgp"), "");
}

TEST(Strings, ExpandEnvVars) {
    SetEnv("NM_TEST_FOLDER", "/tmp/x");
    UnsetEnv("NM_TEST_MISSING");
    const std::string longText(300, 'a');
    EXPECT_EQ(ExpandEnvVars(longText), longText);
    EXPECT_EQ(ExpandEnvVars("%NM_TEST_FOLDER%\\a;%NM_TEST_MISSING%;50%"),
              "/tmp/x\\a;%NM_TEST_MISSING%;50%");
#ifndef _WIN32
    // Under Wine every process has these, also when Linux's environment has not.
    UnsetEnv("SYSTEMDRIVE");
    UnsetEnv("SystemDrive");
#endif
    EXPECT_EQ(ExpandEnvVars("%SystemDrive%\\VECTROM"), "C:\\VECTROM");
}

TEST(Registry, KeyPathForms) {
    struct Case {
        std::string path;
        RootKey root;
        std::string subKey;
    };
    const std::vector<Case> cases = {
        {"hkey_local_machine/SOFTWARE/x", LocalMachine, "SOFTWARE\\x"},
        {"\\\\\\HKEY_CURRENT_USER\\A", CurrentUser, "A"},
        {"HKEY_CLASSES_ROOT\\a\\\\b\\", ClassesRoot, "a\\\\b\\"},
        {"HKEY_CURRENT_CONFIG", CurrentConfig, ""},
        {"HKLM\\SOFTWARE", 7, "SOFTWARE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ScriptedPrompter prompter;
        RootKey root = 7;
        EXPECT_EQ(hkeyPathFormat(prompter, c.path, root), c.subKey);
        EXPECT_EQ(root, c.root);
        EXPECT_TRUE(prompter.shown.empty());
    }
    ScriptedPrompter prompter;
    RootKey root = 7;
    EXPECT_EQ(hkeyPathFormat(prompter, "", root), "");
    EXPECT_EQ(root, NoRoot);
    EXPECT_EQ(prompter.Texts(),
              std::vector<std::string>{"zent_RegistryRead: Cannot find main registry key: "});
}

TEST(Registry, ReadsOneValueOrTheDefault) {
    StoredRegistry registry;
    registry.SetText(LocalMachine, Machine, "Fits", std::string(254, 'x'));
    registry.SetText(LocalMachine, Machine, "TooLong", std::string(255, 'x'));
    registry.SetDword(LocalMachine, Machine, "Number", 16);
    registry.SetText(LocalMachine, Machine, "", "default value");
    registry.SetValue(LocalMachine, Machine, "Empty", {RegBinary, {}});
    struct Case {
        std::string path, name;
        RegistryValue expected;
    };
    const std::vector<Case> cases = {
        {"HKEY_LOCAL_MACHINE\\" + Machine + "\\", "fits", std::string(254, 'x')},
        {"HKEY_LOCAL_MACHINE\\" + Machine, "TooLong", std::string("dflt")},
        {"hkey_local_machine/software/tessaron/vectrom", "Number", 16},
        {"HKEY_LOCAL_MACHINE\\" + Machine, "", std::string("default value")},
        {"HKEY_LOCAL_MACHINE\\" + Machine, "Empty", std::string("dflt")},
        {"HKEY_LOCAL_MACHINE\\" + Machine, "Missing", std::string("dflt")},
        {"HKEY_CURRENT_USER\\" + Machine, "Fits", std::string("dflt")},
        {"HKLM\\" + Machine, "Fits", std::string("dflt")},
        {"", "Fits", std::string("dflt")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + " " + c.name);
        ScriptedPrompter prompter;
        EXPECT_EQ(zent_RegistryRead(registry, prompter, c.path, c.name, std::string("dflt")),
                  c.expected);
        EXPECT_EQ(registry.OpenKeys(), 0); // every key opened was closed
        EXPECT_EQ(prompter.shown.size(), c.path.empty() ? 1u : 0u);
    }
}

TEST(Registry, HostKeysPreferAnInstalledR15) {
    struct Case {
        std::string curVer;
        bool r15Installed;
        std::string release;
    };
    const std::vector<Case> cases = {
        {"R14.0", true, "R15.0"}, {"R14.0", false, "R14.0"},
        {"R15.1", true, "R15.1"}, {"Rnext", true, "Rnext"},
        {"", true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.curVer);
        StoredRegistry registry;
        ScriptedPrompter prompter;
        if (!c.curVer.empty())
            registry.SetText(LocalMachine, Machine + "\\", "CurVer", c.curVer);
        if (c.r15Installed)
            registry.SetText(LocalMachine, Machine + "\\R15.0", "CurVer", "VTRM-15");
        registry.SetText(LocalMachine, Machine + "\\R14.0", "CurVer", "VTRM-14");
        registry.SetText(CurrentUser, Machine + "\\" + c.release + "\\VTRM-15\\Profiles", "",
                         "Drafting");
        EXPECT_EQ(HostReleaseKey(registry, prompter), c.release);
        const std::string product = c.release == "R15.0"   ? "VTRM-15"
                                    : c.release == "R14.0" ? "VTRM-14"
                                                           : "";
        EXPECT_EQ(HostProductKey(registry, prompter), product);
        EXPECT_EQ(HostCurrentProfile(registry, prompter), product == "VTRM-15" ? "Drafting" : "");
        EXPECT_TRUE(prompter.shown.empty());
    }
}

TEST(Registry, ReadsTheFilesOfAWinePrefix) {
    TempDir prefix;
    prefix.Write("system.reg",
                 "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
                 "[Software\\\\Tessaron\\\\Vectrom] 1795857245\n#time=1db60f3a1c2e4f0\n"
                 "\"CurVer\"=\"R15.0\"\n"
                 "\"Quoted\"=\"say \\\"hi\\\"\\\\there\\x4e2d\"\n"
                 "\"Count\"=dword:00000010\n"
                 "\"Expand\"=str(2):\"%SystemRoot%\\\\x\"\n"
                 "\"Wide\"=hex(2):43,00,3a,00,\\\n  5c,00,00,00\n"
                 "\"Broken\"=\"no end\n"
                 "[Software\\\\Classes\\\\.pgp] 1795857245\n@=\"Vectrom.Parameters\"\n");
    prefix.Write("user.reg", "WINE REGISTRY Version 2\n\n[Software\\\\Tessaron] 1\n"
                             "\"Who\"=\"drafter\"\n");
    WineRegistry registry(prefix.Path(""));
    ScriptedPrompter prompter;
    const auto read = [&](const std::string& path, const std::string& name) {
        return zent_RegistryRead(registry, prompter, path, name, std::string("dflt"));
    };
    const std::string key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\TESSARON\\VECTROM\\";
    EXPECT_EQ(read(key, "curver"), RegistryValue(std::string("R15.0")));
    EXPECT_EQ(read(key, "Quoted"), RegistryValue(std::string("say \"hi\"\\there中")));
    EXPECT_EQ(read(key, "Count"), RegistryValue(16));
    EXPECT_EQ(read(key, "Expand"), RegistryValue(std::string("%SystemRoot%\\x")));
    EXPECT_EQ(read(key, "Wide"), RegistryValue(std::string("C:\\")));
    EXPECT_EQ(read(key, "Broken"), RegistryValue(std::string("dflt")));
    EXPECT_EQ(read("HKEY_CLASSES_ROOT\\.pgp", ""),
              RegistryValue(std::string("Vectrom.Parameters")));
    EXPECT_EQ(read("HKEY_CURRENT_USER\\Software\\Tessaron", "Who"),
              RegistryValue(std::string("drafter")));

    // A prefix without registry files is a host that is not installed.
    TempDir empty;
    WineRegistry none(empty.Path(""));
    EXPECT_EQ(HostReleaseKey(none, prompter), "");
    EXPECT_TRUE(prompter.shown.empty());
}

} // namespace
