// The variables of the host's process in a prefix Wine has not started yet,
// and those of the 32-bit host that Wine's own 64-bit interpreter cannot show.
// (A started prefix is compared with Wine itself in WinePrefixTest_posix.cpp.)
#include "host/WineEnvironment.h"

#include "host/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace nm;

TEST(WineEnvironment, DefaultsAndTheProgramFoldersOfA32BitHost) {
    Variables fromLinux;
    fromLinux.Set("USER", "li");
    fromLinux.Set("HOME", "/home/li");
    fromLinux.Set("WINEPATH", "D:\\tools");
    for (const bool two : {false, true}) {
        SCOPED_TRACE(two ? "64-bit prefix" : "32-bit prefix");
        MemoryRegistry registry;
        registry.SetTwoViews(two);
        registry.SetText(LocalMachine,
                         "System\\CurrentControlSet\\Control\\Session Manager\\Environment",
                         "PROCESSOR_ARCHITECTURE", "AMD64");
        const Variables v = WineVariables(registry, fromLinux);
        const std::vector<std::tuple<std::string, const char*>> cases = {
            {"USERPROFILE", "C:\\users\\li"},
            {"PUBLIC", "C:\\users\\Public"},
            {"HOME", nullptr},
            {"PATH", "D:\\tools"},
            {"ProgramFiles", two ? "C:\\Program Files (x86)" : "C:\\Program Files"},
            {"ProgramW6432", two ? "C:\\Program Files" : nullptr},
            {"CommonProgramFiles",
             two ? "C:\\Program Files (x86)\\Common Files" : "C:\\Program Files\\Common Files"},
            {"PROCESSOR_ARCHITECTURE", two ? "x86" : "AMD64"},
            {"PROCESSOR_ARCHITEW6432", two ? "AMD64" : nullptr},
        };
        for (const auto& [name, expected] : cases) {
            const std::string* value = v.Find(name);
            EXPECT_EQ(value ? *value : "(none)", expected ? expected : "(none)") << name;
        }
    }
}
