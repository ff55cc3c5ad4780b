// The Windows halves of the host against the system's own file system,
// environment and settings (on the build machine: Wine's), and the search for
// the host's file, where a file's attributes say whether it counts and the
// system matches names without regard to case.
#include "tests/support/Doubles.h"

#include "host/FileIo.h"
#include "host/Locator.h"
#include "host/MemoryRegistry.h"
#include "host/Paths.h"
#include "host/SettingsStore.h"
#include "host/Win32.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace nm;
using namespace nm::test;
namespace fs = std::filesystem;

TEST(Win32Paths, TheSystemCompletesPaths) {
    const std::string here = PathText(std::filesystem::current_path());
    EXPECT_EQ(FullPathName("a\\..\\b.pgp"), here + "\\b.pgp");
    EXPECT_EQ(FullPathName("C:\\Office\\.\\Support\\"), "C:\\Office\\Support\\");
    EXPECT_EQ(FullPathName(""), "");
    EXPECT_EQ(FileNamePart("C:\\Office\\a/b.pgp"), "b.pgp");
    EXPECT_EQ(FileNamePart("C:vtrm.pgp"), "vtrm.pgp");
}

TEST(Win32Files, AReplaceKeepsTheAttributes) {
    TempDir dir;
    SystemFileSystem files;
    const std::string hidden = dir.Write("hidden.pgp", "old");
    SetFileAttributesW(Wide(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteFileSafely(files, hidden, "new");
    EXPECT_EQ(ReadFileBytes(files, hidden), "new");
    EXPECT_TRUE(GetFileAttributesW(Wide(hidden).c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"hidden.pgp"});
}

TEST(Win32Settings, TheOptionLivesUnderTheClassicProgramSettingsKey) {
    const std::string application = "Tessaron \xE5\xBA\x94\xE7\x94\xA8" + std::string(8, ' ');
    const std::string section = "Vectrom " + std::string(7, ' ');
    const std::string key = "Confirm" + std::string(11, ' ');
    const std::wstring path = L"Software\\VB and VBA Program Settings\\" + Wide(application);
    RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());

    RegistrySettingsStore store;
    EXPECT_EQ(store.GetSetting(application, section, key, "1"), "1");
    store.SaveSetting(application, section, key, "0");
    EXPECT_EQ(store.GetSetting(application, section, key, "1"), "0");
    // Where an earlier version of the editor finds it, names exactly as given.
    wchar_t value[16] = {};
    DWORD size = sizeof value;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, (path + L"\\" + Wide(section)).c_str(),
                           Wide(key).c_str(), RRF_RT_REG_SZ, nullptr, value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(value), L"0");
    EXPECT_EQ(store.GetSetting(application, section, "Confirm", "1"), "1");
    RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
}

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
