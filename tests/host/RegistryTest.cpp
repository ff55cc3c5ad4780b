// Value reads, the host's keys and the search for its file, once over every
// registry backend: the in-memory store, a Wine prefix's files and, on
// Windows, the system's own registry.
#include "tests/support/Doubles.h"

#include "host/HostKeys.h"
#include "host/Locator.h"
#include "host/StrOps.h"
#include "host/Utf8.h"
#include "host/WineRegistry.h"

#ifdef _WIN32
#include "tests/win/Win32Keys.h"
#endif

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <tuple>

using namespace nm;
using namespace nm::test;

namespace {

const std::string Machine = "SOFTWARE\\Tessaron\\Vectrom";

// A value a test puts: text, a number, or binary (empty).
struct KeyValue {
    RootKey root;
    std::string key, name, text;
    std::uint32_t type = RegSz, number = 0;
};

// The keys a test puts, straight into the store.
class MemoryKeys {
public:
    explicit MemoryKeys(const std::vector<KeyValue>& values) {
        for (const KeyValue& v : values)
            v.type == RegDword    ? registry_.SetDword(v.root, v.key, v.name, v.number)
            : v.type == RegBinary ? registry_.SetValue(v.root, v.key, v.name, {RegBinary, {}})
                                  : registry_.SetText(v.root, v.key, v.name, v.text, v.type);
    }
    RegistryBackend& Registry() { return registry_; }
    int OpenKeys() const { return registry_.OpenKeys(); }

private:
    MemoryRegistry registry_;
};

// The keys a test puts, written into the prefix's files as Wine and its
// registry editor write them; a root that gets no key gets no file.
class WineFiles {
public:
    explicit WineFiles(const std::vector<KeyValue>& values) {
        std::map<std::string, std::string> files; // a key's header before each of its values
        for (const KeyValue& v : values) {
            char buffer[16];
            std::string data =
                v.type == RegSz ? Quoted(v.text)
                : v.type == RegDword
                    ? std::string(buffer, std::snprintf(buffer, 16, "dword:%08x", v.number))
                : v.type == RegBinary ? "hex:"
                                      : "hex(2):";
            // Expandable text as UTF-16 (of ASCII), over lines ended by a backslash.
            for (std::size_t i = 0; v.type == RegExpandSz && i <= v.text.size(); ++i)
                data.append(buffer,
                            std::snprintf(buffer, 16, i % 8 == 7 ? "%02x,00,\\\n  " : "%02x,00,",
                                          v.text.c_str()[i]));
            const std::string key = (v.root == ClassesRoot ? "Software\\Classes\\" : "") + v.key;
            files[v.root == CurrentUser ? "user.reg" : "system.reg"] +=
                "\n[" + StrReplace("\\", "\\\\", key) + "] 1795857245\n#time=1db6\n" +
                (v.name.empty() ? "@" : Quoted(v.name)) + "=" + data + "\r\n";
        }
        for (const auto& [file, text] : files)
            prefix_.Write(file,
                          "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n" + text);
    }
    RegistryBackend& Registry() { return registry_; }
    int OpenKeys() const { return registry_.OpenKeys(); }

private:
    // Quotes and backslashes escaped, characters outside ASCII as \x and
    // their UTF-16 code unit.
    static std::string Quoted(const std::string& text) {
        std::string out = "\"";
        for (std::size_t i = 0; i < CharCount(text); ++i) {
            const std::string_view c = CharMid(text, i, 1);
            char unit[8];
            out += c.size() > 1             ? std::string(unit, std::snprintf(unit, 8, "\\x%04x",
                                                                              unsigned(CodePointAt(c, 0))))
                   : c == "\"" || c == "\\" ? "\\" + std::string(c)
                                            : std::string(c);
        }
        return out + "\"";
    }
    TempDir prefix_;
    SystemFileSystem files_;
    WineRegistry registry_{files_, prefix_.Path("")};
};

template <class Keys> class RegistryBackends : public testing::Test {};
#ifdef _WIN32
using Backends = testing::Types<MemoryKeys, WineFiles, Win32Keys<KeyValue>>;
#else
using Backends = testing::Types<MemoryKeys, WineFiles>;
#endif
TYPED_TEST_SUITE(RegistryBackends, Backends);

TYPED_TEST(RegistryBackends, ReadsOneValueOrTheDefault) {
    TypeParam keys({
        {LocalMachine, Machine, "Fits", std::string(254, 'x')},
        {LocalMachine, Machine, "TooLong", std::string(255, 'x')},
        {LocalMachine, Machine, "Number", "", RegDword, 16},
        {LocalMachine, Machine, "Expand", "%SystemDrive%\\Vectrom", RegExpandSz},
        {LocalMachine, Machine, "Accent", "say \"Caf\xC3\xA9\""},
        {LocalMachine, Machine, "", "default value"},
        {LocalMachine, Machine, "Empty", "", RegBinary},
        {ClassesRoot, "nickmaker.test", "", "Vectrom.Parameters"},
        {CurrentUser, "SOFTWARE\\Tessaron", "Who", "drafter"},
    });
    const std::string key = "HKEY_LOCAL_MACHINE\\" + Machine;
    const std::vector<std::tuple<std::string, std::string, RegistryValue>> cases = {
        {key + "\\", "fits", std::string(254, 'x')},
        {key, "TooLong", std::string("dflt")},
        {"hkey_local_machine/software/tessaron/vectrom", "Number", 16},
        {"\\\\" + key, "Expand", std::string("%SystemDrive%\\Vectrom")},
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
    // The current release, whether R15.0 is installed, the release and product chosen.
    const std::vector<std::tuple<std::string, bool, std::string, std::string>> cases = {
        {"R14.0", true, "R15.0", "VTRM-15"},
        {"R14.0", false, "R14.0", "VTRM-14"},
        {"R15.1", true, "R15.1", ""},
        {"Rnext", true, "Rnext", ""},
        {"", true, "", ""},
        {"", false, "", ""}};
    for (const auto& [curVer, r15, release, product] : cases) {
        SCOPED_TRACE(curVer);
        const std::string profiles = Machine + "\\" + release + "\\VTRM-15\\Profiles";
        std::vector<KeyValue> values;
        if (!curVer.empty())
            values = {{LocalMachine, Machine, "CurVer", curVer},
                      {LocalMachine, Machine + "\\R14.0", "CurVer", "VTRM-14"},
                      {CurrentUser, profiles, "", "<<Unnamed Profile>>"},
                      {CurrentUser, profiles + "\\<<Unnamed Profile>>\\General", "VTRM",
                       dir.Path("Missing") + ";\"" + dir.Path("Support") + "\""}};
        if (r15)
            values.push_back({LocalMachine, Machine + "\\R15.0", "CurVer", "VTRM-15"});
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
    }
}

} // namespace
