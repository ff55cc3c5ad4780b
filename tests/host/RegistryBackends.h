// The registry backends the registry suite runs over, each filled with the
// keys a test puts: the in-memory store, a Wine prefix's files and, on
// Windows, the system's own registry.
#pragma once

#include "tests/support/Doubles.h"

#include "host/MemoryRegistry.h"
#include "host/StrOps.h"
#include "host/WineRegistry.h"
#ifdef _WIN32
#include "host/Win32.h"
#endif

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace nm::test {

// A value a test puts, its data written as a Wine registry file writes it
// ("text", dword:, hex:, hex(2): ...): the one form every backend is filled
// from, so a case reads the same whatever the backend.
struct KeyValue {
    RootKey root;
    std::string key, name, data;

    std::string Line() const {
        return (name.empty() ? "@" : "\"" + name + "\"") + "=" + data + "\r\n";
    }
    // The type and bytes the data stands for, text in UTF-8 with its NUL.
    MemoryRegistry::Value Value() const {
        MemoryRegistry::Value value{0, {}};
        ParseWineRegistry(
            "[k]\n" + Line(), [](const std::string&) {},
            [&value](const std::string&, MemoryRegistry::Value parsed) { value = parsed; });
        EXPECT_NE(value.type, 0u) << data;
        return value;
    }
};

// Text as a registry file quotes it.
inline std::string Quoted(const std::string& text) {
    return "\"" + StrReplace("\"", "\\\"", StrReplace("\\", "\\\\", text)) + "\"";
}

// The keys a test puts, straight into the store.
struct MemoryKeys {
    explicit MemoryKeys(const std::vector<KeyValue>& values) {
        for (const KeyValue& v : values) {
            registry_.SetValue(v.root, v.key, v.name, v.Value());
            if (v.key.find("Wow6432Node") != std::string::npos)
                registry_.SetTwoViews(true);
        }
    }
    RegistryBackend& Registry() { return registry_; }
    int OpenKeys() const { return registry_.OpenKeys(); }
    MemoryRegistry registry_;
};

// The keys a test puts, in the prefix's files as Wine writes them; a root
// that gets no key gets no file.
class WineFiles {
public:
    explicit WineFiles(const std::vector<KeyValue>& values) {
        std::map<std::string, std::string> files; // a key's header before each of its values
        for (const KeyValue& v : values) {
            const std::string key = (v.root == ClassesRoot ? "Software\\Classes\\" : "") + v.key;
            files[v.root == CurrentUser ? "user.reg" : "system.reg"] +=
                "\n[" + StrReplace("\\", "\\\\", key) + "] 1795857245\n#time=1db6\n" + v.Line();
        }
        for (const auto& [file, text] : files)
            prefix_.Write(file,
                          "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n" + text);
    }
    RegistryBackend& Registry() { return registry_; }
    int OpenKeys() const { return registry_.OpenKeys(); }

private:
    TempDir prefix_;
    SystemFileSystem files_;
    WineRegistry registry_{files_, prefix_.Path("")};
};

#ifdef _WIN32
// Written with the wide Win32 API as the host writes them (a name outside
// ASCII then reaches the editor in the system code page), gone before and
// after the test.
class Win32Keys {
public:
    explicit Win32Keys(const std::vector<KeyValue>& values) {
        Remove();
        for (const KeyValue& v : values) {
            const MemoryRegistry::Value value = v.Value();
            const std::wstring text = Wide(std::string_view(
                reinterpret_cast<const char*>(value.data.data()), value.data.size()));
            const bool isText = value.type == RegSz || value.type == RegExpandSz;
            EXPECT_EQ(
                RegSetKeyValueW(reinterpret_cast<HKEY>(static_cast<LONG_PTR>(LONG(v.root))),
                                Wide(v.key).c_str(),
                                v.name.empty() ? nullptr : Wide(v.name).c_str(), value.type,
                                isText ? static_cast<const void*>(text.c_str()) : value.data.data(),
                                DWORD(isText ? text.size() * 2 : value.data.size())),
                ERROR_SUCCESS);
        }
    }
    ~Win32Keys() { Remove(); }
    RegistryBackend& Registry() { return *registry_; }
    int OpenKeys() const { return 0; } // the system does not tell

private:
    static void Remove() {
        for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
            RegDeleteTreeW(root, L"SOFTWARE\\Tessaron");
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Wow6432Node\\Tessaron");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"nickmaker.test");
    }
    SystemFileSystem files_;
    std::unique_ptr<RegistryBackend> registry_ = MakeSystemRegistry(files_);
};
using RegistryBackendTypes = testing::Types<MemoryKeys, WineFiles, Win32Keys>;
#else
using RegistryBackendTypes = testing::Types<MemoryKeys, WineFiles>;
#endif

} // namespace nm::test
