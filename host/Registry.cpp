#include "host/Registry.h"

#include "host/FileIo.h"
#include "host/Strings.h"
#include "host/Text.h"
#include "host/TextCodec.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <optional>

#ifdef _WIN32
#include "host/Win32.h"
#endif

namespace nm {

// ---- keys held in memory ---------------------------------------------------

std::string StoredRegistry::Normalise(const std::string& subKey, bool& valid) {
    std::string path = subKey;
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    valid = path.find("\\\\") == std::string::npos && (path.empty() || path.front() != '\\');
    return LowerCase(path);
}

StoredRegistry::Values& StoredRegistry::KeyValues(RootKey root, const std::string& subKey) {
    bool valid = true;
    const std::string path = Normalise(subKey, valid);
    // Every key above a key exists too.
    for (std::size_t cut = path.find('\\'); cut != std::string::npos;
         cut = path.find('\\', cut + 1))
        keys_.try_emplace({root, path.substr(0, cut)});
    return keys_[{root, path}];
}

void StoredRegistry::SetValue(RootKey root, const std::string& subKey, const std::string& name,
                              Value value) {
    KeyValues(root, subKey)[LowerCase(name)] = std::move(value);
}

void StoredRegistry::SetText(RootKey root, const std::string& subKey, const std::string& name,
                             const std::string& text, std::uint32_t type) {
    Value value{type, std::vector<std::uint8_t>(text.begin(), text.end())};
    value.data.push_back(0);
    SetValue(root, subKey, name, std::move(value));
}

void StoredRegistry::SetDword(RootKey root, const std::string& subKey, const std::string& name,
                              std::uint32_t number) {
    Value value{RegDword, std::vector<std::uint8_t>(4)};
    std::memcpy(value.data.data(), &number, 4);
    SetValue(root, subKey, name, std::move(value));
}

long StoredRegistry::OpenKey(RootKey root, const std::string& subKey, KeyHandle& key) {
    static const Values noValues;
    if (root != ClassesRoot && root != CurrentUser && root != LocalMachine && root != CurrentConfig)
        return 6; // an invalid handle
    Prepare(root);
    for (const auto& [where, path] : Resolve(root, subKey)) {
        bool valid = true;
        const std::string normal = Normalise(path, valid);
        if (!valid)
            return RegNotFound;
        const Values* values = nullptr;
        if (normal.empty()) {
            const auto found = keys_.find({where, normal});
            values = found == keys_.end() ? &noValues : &found->second;
        } else if (const auto found = keys_.find({where, normal}); found != keys_.end()) {
            values = &found->second;
        }
        if (values) {
            key = next_++;
            open_[key] = values;
            return RegOk;
        }
    }
    return RegNotFound;
}

long StoredRegistry::QueryValue(KeyHandle key, const std::string& name, std::uint32_t& type,
                                std::uint8_t* data, std::uint32_t& size) {
    const auto open = open_.find(key);
    if (open == open_.end())
        return 6;
    const auto found = open->second->find(LowerCase(name));
    if (found == open->second->end())
        return RegNotFound;
    const Value& value = found->second;
    type = value.type;
    const auto needed = static_cast<std::uint32_t>(value.data.size());
    if (data && needed > size) {
        size = needed;
        return RegMoreData;
    }
    if (data && needed > 0)
        std::memcpy(data, value.data.data(), needed);
    size = needed;
    return RegOk;
}

long StoredRegistry::CloseKey(KeyHandle key) {
    return open_.erase(key) == 1 ? RegOk : 6;
}

// ---- the registry files of a Wine prefix -----------------------------------

namespace {

// UTF-16 code units (from \x escapes or hex data) into UTF-8.
class Utf16Sink {
public:
    explicit Utf16Sink(std::string& out) : out_(out) {}
    void Put(char32_t unit) {
        if (high_ && unit >= 0xDC00 && unit <= 0xDFFF) {
            AppendUtf8(out_, 0x10000 + ((high_ - 0xD800) << 10) + (unit - 0xDC00));
            high_ = 0;
            return;
        }
        Flush();
        if (unit >= 0xD800 && unit <= 0xDBFF)
            high_ = unit;
        else
            AppendUtf8(out_, unit >= 0xDC00 && unit <= 0xDFFF ? 0xFFFD : unit);
    }
    void Flush() {
        if (high_)
            AppendUtf8(out_, 0xFFFD);
        high_ = 0;
    }

private:
    std::string& out_;
    char32_t high_ = 0;
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads an escaped text from `i` up to the unescaped `end` character; `i` ends
// past it. False when the text is not closed on this line.
bool Unescape(std::string_view line, std::size_t& i, char end, std::string& out) {
    Utf16Sink sink(out);
    while (i < line.size()) {
        const char c = line[i++];
        if (c == end) {
            sink.Flush();
            return true;
        }
        if (c != '\\' || i >= line.size()) {
            sink.Flush();
            out += c;
            continue;
        }
        const char e = line[i++];
        if (e == 'x') {
            char32_t unit = 0;
            int digits = 0;
            while (digits < 4 && i < line.size() && HexDigit(line[i]) >= 0) {
                unit = unit * 16 + static_cast<char32_t>(HexDigit(line[i++]));
                ++digits;
            }
            if (digits == 0) {
                sink.Flush();
                out += 'x';
            } else {
                sink.Put(unit);
            }
            continue;
        }
        sink.Flush();
        switch (e) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case '0':
            out += '\0';
            break;
        case 'a':
            out += '\a';
            break;
        case 'b':
            out += '\b';
            break;
        case 'e':
            out += '\x1b';
            break;
        case 'f':
            out += '\f';
            break;
        case 'v':
            out += '\v';
            break;
        default:
            out += e;
            break;
        }
    }
    sink.Flush();
    return false;
}

std::vector<std::uint8_t> HexBytes(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    int high = -1;
    for (const char c : text) {
        const int d = HexDigit(c);
        if (d < 0) {
            high = -1;
            continue;
        }
        if (high < 0) {
            high = d;
        } else {
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + d));
            high = -1;
        }
    }
    return bytes;
}

// Text types held as UTF-16 bytes become the UTF-8 text an ANSI caller sees.
std::vector<std::uint8_t> Utf16ToText(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    Utf16Sink sink(out);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        sink.Put(static_cast<char32_t>(bytes[i] | (bytes[i + 1] << 8)));
    sink.Flush();
    if (out.empty() || out.back() != '\0')
        out += '\0';
    return {out.begin(), out.end()};
}

std::optional<StoredRegistry::Value> ParseData(std::string_view data) {
    StoredRegistry::Value value;
    std::uint32_t type = RegSz;
    if (!data.empty() && data.front() == '"') {
        std::size_t i = 1;
        std::string text;
        if (!Unescape(data, i, '"', text))
            return std::nullopt;
        text += '\0';
        return StoredRegistry::Value{RegSz, {text.begin(), text.end()}};
    }
    if (data.substr(0, 4) == "str(") {
        const std::size_t close = data.find("):\"");
        if (close == std::string_view::npos)
            return std::nullopt;
        std::from_chars(data.data() + 4, data.data() + close, type, 16);
        std::size_t i = close + 3;
        std::string text;
        if (!Unescape(data, i, '"', text))
            return std::nullopt;
        text += '\0';
        return StoredRegistry::Value{type, {text.begin(), text.end()}};
    }
    if (data.substr(0, 6) == "dword:") {
        std::uint32_t number = 0;
        const auto digits = data.substr(6);
        const auto [end, ec] =
            std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
        if (ec != std::errc() || digits.empty())
            return std::nullopt;
        (void)end;
        value.type = RegDword;
        value.data.resize(4);
        std::memcpy(value.data.data(), &number, 4);
        return value;
    }
    if (data.substr(0, 3) == "hex") {
        std::size_t colon = data.find(':');
        if (colon == std::string_view::npos)
            return std::nullopt;
        type = RegBinary;
        if (data.size() > 3 && data[3] == '(')
            std::from_chars(data.data() + 4, data.data() + colon, type, 16);
        value.type = type;
        value.data = HexBytes(data.substr(colon + 1));
        if (type == RegSz || type == RegExpandSz || type == RegMultiSz)
            value.data = Utf16ToText(value.data);
        return value;
    }
    return std::nullopt;
}

} // namespace

void ParseWineRegistry(
    const std::string& text, const std::function<void(const std::string& key)>& key,
    const std::function<void(const std::string&, StoredRegistry::Value)>& value) {
    bool inKey = false;
    std::string pending; // a value line continued with a final backslash
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!pending.empty()) {
            while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
                line.remove_prefix(1);
            pending += line;
            if (!pending.empty() && pending.back() == '\\') {
                pending.pop_back();
                if (start > text.size()) // the file ends inside the value
                    pending.clear();
                continue;
            }
            line = pending;
        } else if (!line.empty() && line.back() == '\\' &&
                   (line.front() == '"' || line.front() == '@')) {
            pending.assign(line.substr(0, line.size() - 1));
            if (start > text.size())
                pending.clear();
            continue;
        }
        const std::string joined(line);
        pending.clear();
        std::string_view l(joined);
        if (l.empty() || l.front() == ';' || l.front() == '#')
            continue;
        if (l.front() == '[') {
            std::size_t i = 1;
            std::string name;
            inKey = Unescape(l, i, ']', name);
            if (inKey)
                key(name);
            continue;
        }
        if (!inKey)
            continue;
        std::string name;
        std::size_t i = 0;
        if (l.front() == '@') {
            i = 1;
        } else if (l.front() == '"') {
            i = 1;
            if (!Unescape(l, i, '"', name))
                continue;
        } else {
            continue;
        }
        if (i >= l.size() || l[i] != '=')
            continue;
        if (auto parsed = ParseData(l.substr(i + 1)))
            value(name, std::move(*parsed));
    }
}

std::string WinePrefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return prefix;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.wine";
}

void WineRegistry::Load(const std::string& file, RootKey root) {
    std::string text;
    try {
        if (!FileExists(file))
            return;
        text = DecodeFileText(ReadFileBytes(file)).text;
    } catch (const std::exception&) {
        return; // an unreadable prefix is a host that is not installed
    }
    Values* current = nullptr;
    ParseWineRegistry(
        text, [&](const std::string& key) { current = &KeyValues(root, key); },
        [&](const std::string& name, Value value) {
            if (current)
                (*current)[LowerCase(name)] = std::move(value);
        });
}

void WineRegistry::Prepare(RootKey root) {
    if (root == CurrentUser) {
        if (!userLoaded_)
            Load(prefix_ + "/user.reg", CurrentUser);
        userLoaded_ = true;
    } else if (!systemLoaded_) {
        Load(prefix_ + "/system.reg", LocalMachine);
        systemLoaded_ = true;
    }
}

std::vector<std::pair<RootKey, std::string>> WineRegistry::Resolve(RootKey root,
                                                                   const std::string& subKey) {
    const std::string tail = subKey.empty() ? std::string() : "\\" + subKey;
    if (root == ClassesRoot)
        return {{LocalMachine, "Software\\Classes" + tail}};
    if (root == CurrentConfig)
        return {{LocalMachine, "System\\CurrentControlSet\\Hardware Profiles\\Current" + tail},
                {LocalMachine, "System\\ControlSet001\\Hardware Profiles\\Current" + tail}};
    return {{root, subKey}};
}

// ---- the registry of this system -------------------------------------------

#ifdef _WIN32
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

class Win32Registry final : public RegistryBackend {
public:
    long OpenKey(RootKey root, const std::string& subKey, KeyHandle& key) override {
        HKEY opened = nullptr;
        const long rc =
            RegOpenKeyExA(RootHandle(root), Ansi(subKey).c_str(), 0, KEY_QUERY_VALUE, &opened);
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
    bool SystemCodePageText() const override { return true; }
};

} // namespace

std::unique_ptr<RegistryBackend> MakeSystemRegistry() {
    return std::make_unique<Win32Registry>();
}
#else
std::unique_ptr<RegistryBackend> MakeSystemRegistry() {
    return std::make_unique<WineRegistry>(WinePrefix());
}
#endif

// ---- reading values ----------------------------------------------------------

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
                                const RegistryValue& fallback) {
    constexpr std::uint32_t BufferSize = 255;
    RootKey root = NoRoot;
    const std::string subKey = hkeyPathFormat(prompter, keyPath, root);
    if (root == NoRoot)
        return fallback;
    KeyHandle key = 0;
    if (registry.OpenKey(root, subKey, key) != RegOk)
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
#ifdef _WIN32
    if (registry.SystemCodePageText())
        text = AnsiToUtf8(text);
#endif
    return text;
}

namespace {

const std::string MachineKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaron\\Vectrom\\";

std::string ReadText(RegistryBackend& registry, Prompter& prompter, const std::string& keyPath,
                     const std::string& valueName) {
    return RegistryText(zent_RegistryRead(registry, prompter, keyPath, valueName));
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

std::string HostReleaseKey(RegistryBackend& registry, Prompter& prompter) {
    std::string release = ReadText(registry, prompter, MachineKey, "CurVer");
    if (release.empty())
        return release;
    double number = 0;
    const std::string_view rest = CharMid(release, 1);
    if (ReleaseNumber(rest, number) && number < 15.0 &&
        !ReadText(registry, prompter, MachineKey + "R15.0\\", "CurVer").empty())
        release = "R15.0";
    return release;
}

std::string HostProductKey(RegistryBackend& registry, Prompter& prompter) {
    const std::string release = HostReleaseKey(registry, prompter);
    if (release.empty())
        return {};
    return ReadText(registry, prompter, MachineKey + release, "CurVer");
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

} // namespace nm
