// The registry on Windows: the system's own, through its ANSI calls.
#include "host/RegistryBackend.h"

#include "host/Win32.h"

namespace nm {

namespace {

// The ANSI functions take and give text in the system code page; key and
// value names arrive here as UTF-8.
std::string Ansi(const std::string& text) {
    return Narrow(Wide(text), CP_ACP);
}

// The predefined key of a root: the 32-bit number sign-extended, as the
// system's headers define it.
HKEY RootHandle(RootKey root) {
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
}

template <typename Enumerate>
long Names(KeyHandle key, std::vector<std::string>& names, Enumerate enumerate) {
    names.clear();
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384]; // the longest key or value name, with its NUL
        DWORD size = 16384;
        const long rc = enumerate(reinterpret_cast<HKEY>(key), i, name, &size);
        if (rc == ERROR_NO_MORE_ITEMS)
            return RegOk;
        if (rc != ERROR_SUCCESS)
            return rc;
        names.push_back(Narrow(std::wstring_view(name, size)));
    }
}

class Win32Registry final : public RegistryBackend {
public:
    long OpenKey(RootKey root, const std::string& subKey, KeyHandle& key,
                 RegistryView view) override {
        const REGSAM access = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS |
                              (view == RegistryView::Bits32   ? KEY_WOW64_32KEY
                               : view == RegistryView::Bits64 ? KEY_WOW64_64KEY
                                                              : 0);
        HKEY opened = nullptr;
        const long rc = RegOpenKeyExA(RootHandle(root), Ansi(subKey).c_str(), 0, access, &opened);
        key = reinterpret_cast<KeyHandle>(opened);
        return rc;
    }
    long QueryValue(KeyHandle key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                    std::uint32_t& size) override {
        DWORD t = 0;
        DWORD n = size;
        const long rc = RegQueryValueExA(reinterpret_cast<HKEY>(key), Ansi(name).c_str(), nullptr,
                                         &t, data, &n);
        type = t;
        size = n;
        return rc;
    }
    long CloseKey(KeyHandle key) override { return RegCloseKey(reinterpret_cast<HKEY>(key)); }
    long SubKeyNames(KeyHandle key, std::vector<std::string>& names) override {
        return Names(key, names, [](HKEY k, DWORD i, wchar_t* name, DWORD* size) {
            return RegEnumKeyExW(k, i, name, size, nullptr, nullptr, nullptr, nullptr);
        });
    }
    long ValueNames(KeyHandle key, std::vector<std::string>& names) override {
        return Names(key, names, [](HKEY k, DWORD i, wchar_t* name, DWORD* size) {
            return RegEnumValueW(k, i, name, size, nullptr, nullptr, nullptr, nullptr);
        });
    }
    // A 64-bit system, whether this program is 64-bit or runs on one.
    bool TwoViews() override {
        BOOL wow64 = FALSE;
        return sizeof(void*) == 8 || (IsWow64Process(GetCurrentProcess(), &wow64) && wow64);
    }
    std::string Utf8Text(std::string text) const override { return AnsiToUtf8(text); }
};

} // namespace

std::unique_ptr<RegistryBackend> MakeSystemRegistry(FileSystem&) {
    return std::make_unique<Win32Registry>();
}

} // namespace nm
