// The variables of the host's process inside a Wine prefix: Wine's values
// from the prefix's keys, never the Linux value of a name Wine keeps.
#include "host/WineEnvironment.h"

#include "host/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace nm;

TEST(WineEnvironment, WineValuesOverTheLinuxOnes) {
    const std::string control = "System\\CurrentControlSet\\Control\\";
    Variables fromLinux;
    for (const auto& [name, value] :
         std::vector<std::pair<std::string, std::string>>{{"TEMP", "/tmp"},
                                                          {"PATH", "/usr/bin"},
                                                          {"HOME", "/home/li"},
                                                          {"USER", "li"},
                                                          {"LANG", "zh_CN.UTF-8"},
                                                          {"WINEPATH", "D:\\tools"},
                                                          {"APPDATA", "/home/li/.config"}})
        fromLinux.Set(name, value);
    // One-view and two-view prefixes; the keys Wine's start-up writes, or none.
    for (const bool two : {false, true}) {
        for (const bool booted : {false, true}) {
            SCOPED_TRACE(std::to_string(two) + std::to_string(booted));
            MemoryRegistry registry;
            registry.SetTwoViews(two);
            if (booted) {
                const std::string env = control + "Session Manager\\Environment";
                registry.SetText(LocalMachine, env, "PATH", "%SystemRoot%\\system32;%SystemRoot%",
                                 RegExpandSz);
                registry.SetText(LocalMachine, env, "TEMP", "%SystemRoot%\\temp", RegExpandSz);
                registry.SetText(LocalMachine, env, "PROCESSOR_ARCHITECTURE", "AMD64");
                registry.SetText(CurrentUser, "Volatile Environment", "USERPROFILE",
                                 "C:\\users\\Li Wei");
                registry.SetText(CurrentUser, "Environment", "TEMP",
                                 "%USERPROFILE%\\AppData\\Local\\Temp", RegExpandSz);
                registry.SetText(CurrentUser, "Environment", "Path", "C:\\mine");
                registry.SetText(LocalMachine, control + "ComputerName\\ComputerName",
                                 "ComputerName", "CAD-07");
                registry.SetText(LocalMachine,
                                 "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList",
                                 "Public", "D:\\Public", RegExpandSz);
            }
            const Variables v = WineVariables(registry, fromLinux);
            const auto value = [&](const std::string& name) {
                const std::string* found = v.Find(name);
                return found ? *found : "(none)";
            };
            const std::string profile = booted ? "C:\\users\\Li Wei" : "C:\\users\\li";
            const std::vector<std::tuple<std::string, std::string>> cases = {
                {"TEMP", booted ? profile + "\\AppData\\Local\\Temp" : "(none)"},
                {"PATH",
                 booted ? "D:\\tools;C:\\windows\\system32;C:\\windows;C:\\mine" : "D:\\tools"},
                {"HOME", "(none)"},
                {"WINEPATH", "(none)"},
                {"LANG", "zh_CN.UTF-8"},
                {"appdata", "C:\\users\\li\\AppData\\Roaming"},
                {"USERPROFILE", profile},
                {"USERNAME", "li"},
                {"HOMEPATH", "\\users\\li"},
                {"SystemDrive", "C:"},
                {"windir", "(none)"},
                {"PUBLIC", booted ? "D:\\Public" : "C:\\users\\Public"},
                {"ALLUSERSPROFILE", "C:\\ProgramData"},
                {"COMPUTERNAME", booted ? "CAD-07" : "(none)"},
                {"ProgramFiles", two ? "C:\\Program Files (x86)" : "C:\\Program Files"},
                {"ProgramW6432", two ? "C:\\Program Files" : "(none)"},
                {"CommonProgramFiles(x86)",
                 two ? "C:\\Program Files (x86)\\Common Files" : "(none)"},
                {"PROCESSOR_ARCHITECTURE", two      ? "x86"
                                           : booted ? "AMD64"
                                                    : "(none)"},
                {"PROCESSOR_ARCHITEW6432", two && booted ? "AMD64" : "(none)"},
            };
            for (const auto& [name, expected] : cases)
                EXPECT_EQ(value(name), expected) << name;
        }
    }
}
