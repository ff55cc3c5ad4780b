#include "host/HostKeys.h"

#include "host/StrOps.h"
#include "host/Utf8.h"

#include <charconv>
#include <cstring>
#include <string_view>
#include <utility>

namespace nm {

std::string RegistryText(const RegistryValue& value) {
    if (const auto* number = std::get_if<std::int32_t>(&value))
        return std::to_string(*number);
    return std::get<std::string>(value);
}

std::string hkeyPathFormat(Prompter& prompter, const std::string& keyPath, RootKey& root) {
    const std::string path = TrimLeading(StrReplace("/", "\\", keyPath), "\\");
    const std::vector<std::string> parts = StrSplit("\\", path);
    const std::string rootName = UpperCase(parts[0]);
    if (rootName == "HKEY_CLASSES_ROOT")
        root = ClassesRoot;
    else if (rootName == "HKEY_LOCAL_MACHINE")
        root = LocalMachine;
    else if (rootName == "HKEY_CURRENT_USER")
        root = CurrentUser;
    else if (rootName == "HKEY_CURRENT_CONFIG")
        root = CurrentConfig;
    else if (rootName.empty()) {
        prompter.Message("zent_RegistryRead: Cannot find main registry key: " + rootName);
        root = NoRoot;
        return {};
    }
    std::string joined;
    for (std::size_t i = 1; i < parts.size(); ++i)
        joined += "\\" + parts[i];
    return TrimLeading(joined, "\\");
}

RegistryValue zent_RegistryRead(RegistryBackend& registry, Prompter& prompter,
                                const std::string& keyPath, const std::string& valueName,
                                const RegistryValue& fallback, RegistryView view) {
    constexpr std::uint32_t BufferSize = 255;
    RootKey root = NoRoot;
    const std::string subKey = hkeyPathFormat(prompter, keyPath, root);
    if (root == NoRoot)
        return fallback;
    KeyHandle key = 0;
    if (registry.OpenKey(root, subKey, key, view) != RegOk)
        return fallback;
    std::uint8_t buffer[BufferSize] = {};
    std::uint32_t size = BufferSize;
    std::uint32_t type = 0;
    std::int32_t number = 0;
    bool ok = registry.QueryValue(key, valueName, type, buffer, size) == RegOk;
    if (ok && type == RegDword) {
        std::uint32_t numberSize = 4;
        std::uint8_t bytes[4] = {};
        ok = registry.QueryValue(key, valueName, type, bytes, numberSize) == RegOk;
        std::memcpy(&number, bytes, 4);
    }
    const bool closed = registry.CloseKey(key) == RegOk;
    if (!ok || !closed)
        return fallback;
    if (type == RegDword)
        return number;
    if (size == 0)
        return fallback;
    std::string text(reinterpret_cast<const char*>(buffer), size - 1);
    return registry.Utf8Text(std::move(text));
}

namespace {

const std::string MachineKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaron\\Vectrom\\";

std::string ReadText(RegistryBackend& registry, Prompter& prompter, const std::string& keyPath,
                     const std::string& valueName, RegistryView view = RegistryView::Native) {
    return RegistryText(
        zent_RegistryRead(registry, prompter, keyPath, valueName, std::string(), view));
}

// A release number such as "14.0": blanks around it, an optional sign, digits
// with a point, an optional exponent.
bool ReleaseNumber(std::string_view text, double& value) {
    text = TrimSpaces(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

} // namespace

std::string ReadMachineText(RegistryBackend& registry, Prompter& prompter,
                            const std::string& keyPath, const std::string& valueName,
                            RegistryView* answered) {
    const bool two = registry.TwoViews();
    for (const RegistryView view : {RegistryView::Bits32, RegistryView::Bits64}) {
        const RegistryView used = two ? view : RegistryView::Native;
        std::string text = ReadText(registry, prompter, keyPath, valueName, used);
        if (!text.empty() || !two) {
            if (answered)
                *answered = text.empty() ? RegistryView::Native : used;
            return text;
        }
    }
    if (answered)
        *answered = RegistryView::Native;
    return {};
}

std::string HostReleaseKey(RegistryBackend& registry, Prompter& prompter, RegistryView* view) {
    std::string release = ReadMachineText(registry, prompter, MachineKey, "CurVer", view);
    if (release.empty())
        return release;
    double number = 0;
    const std::string_view rest = CharMid(release, 1);
    if (ReleaseNumber(rest, number) && number < 15.0 &&
        !ReadMachineText(registry, prompter, MachineKey + "R15.0\\", "CurVer").empty())
        release = "R15.0";
    return release;
}

std::string HostProductKey(RegistryBackend& registry, Prompter& prompter) {
    const std::string release = HostReleaseKey(registry, prompter);
    if (release.empty())
        return {};
    return ReadMachineText(registry, prompter, MachineKey + release, "CurVer");
}

std::string HostCurrentProfile(RegistryBackend& registry, Prompter& prompter) {
    const std::string release = HostReleaseKey(registry, prompter);
    const std::string product = HostProductKey(registry, prompter);
    if (release.empty() || product.empty())
        return {};
    return ReadText(registry, prompter,
                    "HKEY_CURRENT_USER\\SOFTWARE\\Tessaron\\Vectrom\\" + release + "\\" + product +
                        "\\Profiles",
                    "");
}

std::string ViewName(RegistryView view) {
    return view == RegistryView::Bits32   ? "32-bit (Wow6432Node)"
           : view == RegistryView::Bits64 ? "64-bit"
                                          : "one view";
}

} // namespace nm
