#include "host/WineRegistry.h"

#include "host/FileIo.h"
#include "host/TextCodec.h"
#include "host/Utf8.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace nm {

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

std::optional<MemoryRegistry::Value> ParseData(std::string_view data) {
    MemoryRegistry::Value value;
    std::uint32_t type = RegSz;
    if (!data.empty() && data.front() == '"') {
        std::size_t i = 1;
        std::string text;
        if (!Unescape(data, i, '"', text))
            return std::nullopt;
        text += '\0';
        return MemoryRegistry::Value{RegSz, {text.begin(), text.end()}};
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
        return MemoryRegistry::Value{type, {text.begin(), text.end()}};
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
    const std::function<void(const std::string&, MemoryRegistry::Value)>& value) {
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
        if (!FileExists(files_, file))
            return;
        text = DecodeFileText(ReadFileBytes(files_, file)).text;
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

} // namespace nm
