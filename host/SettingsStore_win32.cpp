#include "host/SettingsStore.h"

#include "host/RuntimeError.h"
#include "host/Win32.h"

namespace nm {

namespace {

std::wstring SettingsKeyPath(const std::string& application, const std::string& section) {
    return L"Software\\VB and VBA Program Settings\\" + Wide(application) + L"\\" + Wide(section);
}

} // namespace

std::string RegistrySettingsStore::GetSetting(const std::string& application,
                                              const std::string& section, const std::string& key,
                                              const std::string& fallback) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(application, section).c_str(), 0,
                      KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return fallback;
    const std::wstring name = Wide(key);
    DWORD type = 0;
    DWORD size = 0;
    std::wstring value;
    LONG rc = RegQueryValueExW(opened, name.c_str(), nullptr, &type, nullptr, &size);
    if (rc == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        value.resize(size / sizeof(wchar_t) + 1);
        rc = RegQueryValueExW(opened, name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(value.data()), &size);
        value.resize(size / sizeof(wchar_t));
        while (!value.empty() && value.back() == L'\0')
            value.pop_back();
    }
    RegCloseKey(opened);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return fallback;
    return Narrow(value);
}

void RegistrySettingsStore::SaveSetting(const std::string& application, const std::string& section,
                                        const std::string& key, const std::string& value) {
    HKEY opened = nullptr;
    LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(application, section).c_str(), 0,
                              nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr);
    if (rc != ERROR_SUCCESS)
        throw ErrorFromWin32(static_cast<unsigned long>(rc), {});
    const std::wstring text = Wide(value);
    rc = RegSetValueExW(opened, Wide(key).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(opened);
    if (rc != ERROR_SUCCESS)
        throw ErrorFromWin32(static_cast<unsigned long>(rc), {});
}

std::unique_ptr<SettingsStore> MakeSystemSettingsStore(FileSystem&) {
    return std::make_unique<RegistrySettingsStore>();
}

} // namespace nm
