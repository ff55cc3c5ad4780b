// The Windows backends against the system's own registry, file system,
// environment and automation (on the build machine: Wine's).
#include "tests/support/Doubles.h"

#include "host/FileIo.h"
#include "host/HostLink.h"
#include "host/HostNotification.h"
#include "host/Locator.h"
#include "host/Registry.h"
#include "host/RuntimeError.h"
#include "host/SettingsStore.h"
#include "host/Strings.h"
#include "host/Win32.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using namespace nm;
using namespace nm::test;
namespace fs = std::filesystem;

namespace {

const char* const TestRoot = "Software\\nickmaker tests";

void SetValue(HKEY root, const std::string& key, const std::string& name, DWORD type,
              const void* data, DWORD size) {
    HKEY opened = nullptr;
    ASSERT_EQ(
        RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr),
        ERROR_SUCCESS)
        << key;
    EXPECT_EQ(RegSetValueExA(opened, name.empty() ? nullptr : name.c_str(), 0, type,
                             static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(opened);
}

void SetText(HKEY root, const std::string& key, const std::string& name, const std::string& text,
             DWORD type = REG_SZ) {
    SetValue(root, key, name, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void SetNumber(HKEY root, const std::string& key, const std::string& name, DWORD number) {
    SetValue(root, key, name, REG_DWORD, &number, sizeof number);
}

// Keys that a test writes, gone before and after it.
class ScratchKeys {
public:
    ScratchKeys(std::vector<std::pair<HKEY, std::string>> keys) : keys_(std::move(keys)) {
        Remove();
    }
    ~ScratchKeys() { Remove(); }

private:
    void Remove() {
        for (const auto& [root, key] : keys_)
            RegDeleteTreeA(root, key.c_str());
    }
    std::vector<std::pair<HKEY, std::string>> keys_;
};

const std::string HostMachineKey = "SOFTWARE\\Tessaron\\Vectrom";
const std::string HostUserKey = "SOFTWARE\\Tessaron";

} // namespace

TEST(Win32Registry, ReadsValuesAsTheSystemStoresThem) {
    ScratchKeys scratch({{HKEY_CURRENT_USER, TestRoot}});
    const std::string key = std::string(TestRoot) + "\\Values";
    SetText(HKEY_CURRENT_USER, key, "Fits", std::string(254, 'a'));
    SetText(HKEY_CURRENT_USER, key, "TooLong", std::string(255, 'b'));
    SetNumber(HKEY_CURRENT_USER, key, "Number", 16);
    SetText(HKEY_CURRENT_USER, key, "Expand", "%SystemDrive%\\Vectrom", REG_EXPAND_SZ);
    SetText(HKEY_CURRENT_USER, key, "", "the default value");
    // A name outside ASCII, written in UTF-16: the editor gets it as UTF-8.
    const std::wstring wide = L"Caf\u00e9";
    HKEY opened = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &opened),
              ERROR_SUCCESS);
    RegSetValueExW(opened, L"Accent", 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                   static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(opened);

    const auto registry = MakeSystemRegistry();
    ScriptedPrompter prompter;
    const RegistryValue fallback = std::string("fallback");
    const std::string path = "HKEY_CURRENT_USER\\" + key;
    struct Case {
        std::string keyPath;
        std::string name;
        RegistryValue expected;
    };
    const std::vector<Case> cases = {
        {path, "Fits", std::string(254, 'a')},
        {path, "TooLong", fallback},
        {path, "Number", std::int32_t{16}},
        {path, "Expand", std::string("%SystemDrive%\\Vectrom")},
        {path, "", std::string("the default value")},
        {path, "Accent", std::string("Caf\xC3\xA9")},
        {path, "Missing", fallback},
        {path + "\\Missing", "Fits", fallback},
        {"hkey_current_user/" + StrReplace("\\", "/", key), "Fits", std::string(254, 'a')},
        {"HKCU\\" + key, "Fits", fallback}, // a short root name is not known
    };
    for (const Case& c : cases) {
        EXPECT_EQ(zent_RegistryRead(*registry, prompter, c.keyPath, c.name, fallback), c.expected)
            << c.keyPath << " " << c.name;
    }
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(zent_RegistryRead(*registry, prompter, "", "Fits", fallback), fallback);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "zent_RegistryRead: Cannot find main registry key: ");
}

TEST(Win32Registry, HostKeysPreferRelease15) {
    ScratchKeys scratch({{HKEY_LOCAL_MACHINE, "SOFTWARE\\Tessaron"}});
    const auto registry = MakeSystemRegistry();
    ScriptedPrompter prompter;
    EXPECT_EQ(HostReleaseKey(*registry, prompter), "");
    EXPECT_EQ(HostProductKey(*registry, prompter), "");
    EXPECT_EQ(HostCurrentProfile(*registry, prompter), "");

    SetText(HKEY_LOCAL_MACHINE, HostMachineKey, "CurVer", "R14.0");
    SetText(HKEY_LOCAL_MACHINE, HostMachineKey + "\\R14.0", "CurVer", "VTRM-1:409");
    EXPECT_EQ(HostReleaseKey(*registry, prompter), "R14.0");
    EXPECT_EQ(HostProductKey(*registry, prompter), "VTRM-1:409");
    SetText(HKEY_LOCAL_MACHINE, HostMachineKey + "\\R15.0", "CurVer", "VTRM-4001:409");
    EXPECT_EQ(HostReleaseKey(*registry, prompter), "R15.0");
    EXPECT_EQ(HostProductKey(*registry, prompter), "VTRM-4001:409");
    SetText(HKEY_LOCAL_MACHINE, HostMachineKey, "CurVer", "R15.1");
    EXPECT_EQ(HostReleaseKey(*registry, prompter), "R15.1");
    EXPECT_TRUE(prompter.shown.empty());
}

namespace {

// A folder on the system drive for one test, removed afterwards.
struct DriveFolder {
    DriveFolder() {
        const std::string drive = ExpandEnvVars("%SystemDrive%");
        name = "nm-test-" + std::to_string(GetCurrentProcessId());
        path = drive + "\\" + name;
        fs::remove_all(NativePath(path));
        fs::create_directories(NativePath(path));
    }
    ~DriveFolder() {
        std::error_code ec;
        for (const auto& entry : fs::recursive_directory_iterator(NativePath(path), ec))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(NativePath(path), ec);
    }
    std::string File(const std::string& relative, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const {
        const std::string file = path + "\\" + relative;
        fs::create_directories(NativePath(file).parent_path());
        WriteFileSafely(file, "CP,*COPY\r\n");
        SetFileAttributesW(Wide(file).c_str(), attributes);
        return file;
    }
    std::string name;
    std::string path;
};

} // namespace

TEST(Win32Locator, FindsTheHostFileAlongTheProfilesSearchList) {
    ScratchKeys scratch(
        {{HKEY_LOCAL_MACHINE, "SOFTWARE\\Tessaron"}, {HKEY_CURRENT_USER, "SOFTWARE\\Tessaron"}});
    DriveFolder c;
    c.File("Hidden\\vtrm.pgp", FILE_ATTRIBUTE_HIDDEN);
    c.File("System\\VTRM.PGP", FILE_ATTRIBUTE_SYSTEM);
    fs::create_directories(NativePath(c.path + "\\Folder\\vtrm.pgp"));
    c.File("Support\\Vtrm.pgp", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);

    SetText(HKEY_LOCAL_MACHINE, HostMachineKey, "CurVer", "R15.0");
    SetText(HKEY_LOCAL_MACHINE, HostMachineKey + "\\R15.0", "CurVer", "VTRM-4001:409");
    const std::string profiles = HostMachineKey + "\\R15.0\\VTRM-4001:409\\Profiles";
    SetText(HKEY_CURRENT_USER, profiles, "", "<<Unnamed Profile>>");
    // Quoted, in another letter case, through the environment, and a folder
    // named like the file: only the ordinary file in Support counts.
    const std::string list = "\"" + c.path + "\\Hidden\";%SystemDrive%\\" + c.name + "\\SYSTEM;" +
                             c.path + "\\Folder\\;" + c.path + "\\support";
    SetText(HKEY_CURRENT_USER, profiles + "\\<<Unnamed Profile>>\\General", "VTRM", list);

    ScriptedPrompter prompter;
    const auto registry = MakeSystemRegistry();
    HostContext host = SystemHostContext(prompter, *registry);
    LocateTrace trace;
    EXPECT_EQ(FindHostPgpFile(host, &trace), c.path + "\\support\\Vtrm.pgp");
    EXPECT_EQ(trace.profile, "<<Unnamed Profile>>");
    EXPECT_EQ(trace.searched,
              (std::vector<std::string>{c.path + "\\Hidden\\", c.path + "\\SYSTEM\\",
                                        c.path + "\\Folder\\", c.path + "\\support\\"}));
    EXPECT_TRUE(prompter.shown.empty());

    // In the current folder any entry counts, a hidden one too; a name with a
    // folder part is only looked up where it points.
    const fs::path saved = fs::current_path();
    fs::current_path(NativePath(c.path + "\\Hidden"));
    EXPECT_EQ(FindFileOnPath(host, " \"vtrm.pgp\"\t", c.path + "\\Support"),
              c.path + "\\Hidden\\vtrm.pgp");
    fs::current_path(saved);
    EXPECT_EQ(FindFileOnPath(host, c.path + "\\System\\vtrm.pgp", ""),
              c.path + "\\System\\vtrm.pgp");
    EXPECT_EQ(FindFileOnPath(host, c.path + "\\Folder\\none.pgp", c.path + "\\Support"), "");
}

TEST(Win32Paths, TheSystemExpandsAndCompletesPaths) {
    SetEnv("NM_TEST_FOLDER", "C:\\Office");
    UnsetEnv("NM_TEST_MISSING");
    const std::string longList(300, 'x');
    EXPECT_EQ(ExpandEnvVars("%nm_test_folder%\\a;%NM_TEST_MISSING%;" + longList + "%"),
              "C:\\Office\\a;%NM_TEST_MISSING%;" + longList + "%");
    const std::string here = PathText(fs::current_path());
    EXPECT_EQ(FullPathName("a\\..\\b.pgp"), here + "\\b.pgp");
    EXPECT_EQ(FullPathName("C:\\Office\\.\\Support\\"), "C:\\Office\\Support\\");
    EXPECT_EQ(FullPathName(""), "");
}

TEST(Win32Files, AFailedReplaceLeavesTheFileAndNoTemporaryFile) {
    DriveFolder c;
    // A read-only file is neither replaced nor appended to.
    const std::string locked = c.File("locked.pgp", FILE_ATTRIBUTE_READONLY);
    using Write = void (*)(const std::string&, std::string_view);
    for (const Write write : {&WriteFileSafely, &AppendFileBytes})
        EXPECT_THAT([&] { write(locked, "new"); },
                    testing::Throws<RuntimeError>(testing::Property(&RuntimeError::Number, 75)));
    EXPECT_EQ(ReadFileBytes(locked), "CP,*COPY\r\n");
    const std::string hidden = c.File("hidden.pgp", FILE_ATTRIBUTE_HIDDEN);
    WriteFileSafely(hidden, "new");
    EXPECT_EQ(ReadFileBytes(hidden), "new");
    EXPECT_TRUE(GetFileAttributesW(Wide(hidden).c_str()) & FILE_ATTRIBUTE_HIDDEN);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(NativePath(c.path)))
        names.push_back(PathText(entry.path().filename()));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"hidden.pgp", "locked.pgp"}));
}

TEST(Win32Files, NamesOutsideTheCodePageWork) {
    DriveFolder c;
    const std::string name = c.path + "\\\xE5\xA4\x87\xE4\xBB\xBD vtrm.pgp"; // Chinese characters
    WriteFileSafely(name, "A,*ARC\r\n");
    EXPECT_TRUE(FileExists(name));
    EXPECT_EQ(ReadFileBytes(name), "A,*ARC\r\n");
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

TEST(Win32HostLink, WithoutARunningHostTheAliasesWaitForTheNextStart) {
    const auto link = MakeSystemHostLink();
    try {
        link->RequestReinit();
        ADD_FAILURE() << "a host answered";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), Err::CannotCreateObject);
    }
    for (const bool quiet : {false, true}) {
        ScriptedPrompter prompter;
        NotifyHost(prompter, *link, quiet);
        ASSERT_EQ(prompter.shown.size(), 1u) << quiet;
        EXPECT_EQ(prompter.shown[0].text,
                  "你的 Vectrom 热键被保存并且对你下一个 Vectrom 进程发生作用.");
    }
}
