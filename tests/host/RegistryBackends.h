// The registry backends the registry suite runs over, each filled with the
// keys a test puts: the in-memory store, a Wine prefix's files and, on
// Windows, the system's own registry.
#pragma once

#include "tests/support/Doubles.h"

#include "host/MemoryRegistry.h"
#include "host/StrOps.h"
#include "host/Utf8.h"
#include "host/WineRegistry.h"
#ifdef _WIN32
#include "host/Win32.h"
#endif

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace nm::test {

// A value a test puts: text, a number, or binary (empty).
struct KeyValue {
    RootKey root;
    std::string key, name, text;
    std::uint32_t type = RegSz, number = 0;
};

// The keys a test puts, straight into the store.
struct MemoryKeys {
    explicit MemoryKeys(const std::vector<KeyValue>& values) {
        for (const KeyValue& v : values)
            v.type == RegDword    ? registry_.SetDword(v.root, v.key, v.name, v.number)
            : v.type == RegBinary ? registry_.SetValue(v.root, v.key, v.name, {RegBinary, {}})
                                  : registry_.SetText(v.root, v.key, v.name, v.text, v.type);
    }
    RegistryBackend& Registry() { return registry_; }
    int OpenKeys() const { return registry_.OpenKeys(); }
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

#ifdef _WIN32
// Written with the wide Win32 API as the host writes them (a name outside
// ASCII then reaches the editor in the system code page), gone before and
// after the test.
class Win32Keys {
public:
    explicit Win32Keys(const std::vector<KeyValue>& values) {
        Remove();
        for (const KeyValue& v : values) {
            const auto root = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(LONG(v.root)));
            const std::wstring text = Wide(v.text) + L'\0';
            const bool isText = v.type == RegSz || v.type == RegExpandSz;
            const void* data = isText ? static_cast<const void*>(text.c_str()) : &v.number;
            const DWORD size = isText ? DWORD(text.size() * 2) : v.type == RegDword ? 4 : 0;
            EXPECT_EQ(RegSetKeyValueW(root, Wide(v.key).c_str(),
                                      v.name.empty() ? nullptr : Wide(v.name).c_str(), v.type, data,
                                      size),
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
