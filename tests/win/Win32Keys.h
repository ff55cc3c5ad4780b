// The keys a registry test puts, written with the wide Win32 API as the host
// writes them (a name outside ASCII then reaches the editor in the system
// code page), gone before and after the test; `KeyValue` is the suite's
// description of one value.
#pragma once

#include "host/FileSystem.h"
#include "host/RegistryBackend.h"
#include "host/Win32.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace nm::test {

template <class KeyValue> class Win32Keys {
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

} // namespace nm::test
