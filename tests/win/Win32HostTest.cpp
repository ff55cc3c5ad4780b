// The Windows halves of the host against the system's own file system,
// environment and settings (on the build machine: Wine's), and the search for
// the host's file, where a file's attributes say whether it counts and the
// system matches names without regard to case.
#include "tests/support/Doubles.h"

#include "host/Locator.h"
#include "host/MemoryRegistry.h"
#include "host/SettingsStore.h"
#include "host/Win32.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace nm;
using namespace nm::test;
namespace fs = std::filesystem;

TEST(Win32Settings, TheOptionLivesUnderTheClassicProgramSettingsKey) {
    const std::string application = "Tessaron \xE5\xBA\x94\xE7\x94\xA8" + std::string(8, ' ');
    const std::string section = "Vectrom " + std::string(7, ' ');
    const std::string key = "Confirm" + std::string(11, ' ');
    const std::wstring path = L"Software\\VB and VBA Program Settings\\" + Wide(application);
    RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());

    RegistrySettingsStore store;
    store.SaveSetting(application, section, key, "0");
    EXPECT_EQ(store.GetSetting(application, section, key, "1"), "0");
    // Where an earlier version of the editor finds it, names exactly as given.
    wchar_t value[16] = {};
    DWORD size = sizeof value;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, (path + L"\\" + Wide(section)).c_str(),
                           Wide(key).c_str(), RRF_RT_REG_SZ, nullptr, value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(value), L"0");
    RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
}

TEST(Win32Locator, OnlyOrdinaryFilesCountAlongTheSearchList) {
    TempDir dir;
    const std::string c = dir.Path("c");
    const std::vector<std::pair<std::string, DWORD>> entries = {
        {"Hidden\\vtrm.pgp", FILE_ATTRIBUTE_HIDDEN},
        {"Support\\Vtrm.pgp", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE}};
    for (const auto& [name, attributes] : entries) {
        fs::create_directories(fs::path(dir.Path("c\\" + name)).parent_path());
        SetFileAttributesW(Wide(dir.Write("c\\" + name, "CP,*COPY\r\n")).c_str(), attributes);
    }
    fs::create_directories(c + "\\Folder\\vtrm.pgp");
    SetEnvironmentVariableW(L"NM_TEST_DIR", Wide(c).c_str());
    ScriptedPrompter prompter;
    MemoryRegistry registry;
    const HostContext host = SystemHostContext(prompter, registry);
    // In another letter case, through this process's environment, and a
    // folder named like the file: only the ordinary file in Support counts.
    EXPECT_EQ(FindFileOnPath(host, "vtrm.pgp",
                             "%NM_TEST_DIR%\\HIDDEN;" + c + "\\Folder\\;" + c + "\\support"),
              c + "\\support\\Vtrm.pgp");
    SetFileAttributesW(Wide(c + "\\Support\\Vtrm.pgp").c_str(), FILE_ATTRIBUTE_NORMAL);
}
