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
        if (e >= '0' && e <= '7') { // up to three octal digits, one character
            unsigned code = static_cast<unsigned>(e - '0');
            for (int digits = 1; digits < 3 && i < line.size() && line[i] >= '0' && line[i] <= '7';
                 ++digits)
                code = code * 8 + static_cast<unsigned>(line[i++] - '0');
            AppendUtf8(out, code);
            continue;
        }
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

// Bytes written as two hexadecimal digits each, separated by commas; nothing
// when anything else stands there.
std::optional<std::vector<std::uint8_t>> HexBytes(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    while (!text.empty() && (text.back() == ' ' || text.back() == ','))
        text.remove_suffix(1);
    for (std::size_t i = 0; i < text.size(); i += 3) {
        while (i < text.size() && text[i] == ' ')
            ++i;
        const int high = i < text.size() ? HexDigit(text[i]) : -1;
        const int low = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
        if (high < 0 || low < 0 || (i + 2 < text.size() && text[i + 2] != ','))
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
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

// A quoted text from `data`'s first character on, with nothing after it.
std::optional<std::string> QuotedText(std::string_view data) {
    std::size_t i = 1;
    std::string text;
    if (data.empty() || data.front() != '"' || !Unescape(data, i, '"', text) ||
        TrimSpaces(data.substr(i)).size() != 0)
        return std::nullopt;
    return text + '\0';
}

// A value's data as Wine writes it: "text", str:"text", str(<type>):"text",
// dword:<8 hex digits>, hex:<bytes> and hex(<type>):<bytes>.
std::optional<MemoryRegistry::Value> ParseData(std::string_view data) {
    std::uint32_t type = RegSz;
    const auto typed = [&](std::size_t at) { // "(<type>):" at `at`; the rest after it
        const std::size_t close = data.find("):", at);
        if (close == std::string_view::npos)
            return false;
        const auto [end, ec] = std::from_chars(data.data() + at, data.data() + close, type, 16);
        if (ec != std::errc() || end != data.data() + close)
            return false;
        data.remove_prefix(close + 2);
        return true;
    };
    const auto text = [&]() -> std::optional<MemoryRegistry::Value> {
        const auto quoted = QuotedText(data);
        if (!quoted)
            return std::nullopt;
        return MemoryRegistry::Value{type, {quoted->begin(), quoted->end()}};
    };
    if (data.substr(0, 1) == "\"")
        return text();
    if (data.substr(0, 4) == "str:") {
        data.remove_prefix(4);
        return text();
    }
    if (data.substr(0, 4) == "str(")
        return typed(4) ? text() : std::nullopt;
    if (data.substr(0, 6) == "dword:") {
        const std::string_view digits = TrimSpaces(data.substr(6));
        std::uint32_t number = 0;
        const auto [end, ec] =
            std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
        if (ec != std::errc() || digits.empty() || end != digits.data() + digits.size())
            return std::nullopt;
        MemoryRegistry::Value value{RegDword, std::vector<std::uint8_t>(4)};
        std::memcpy(value.data.data(), &number, 4);
        return value;
    }
    type = RegBinary;
    if (data.substr(0, 4) == "hex:")
        data.remove_prefix(4);
    else if (data.substr(0, 4) != "hex(" || !typed(4))
        return std::nullopt;
    auto bytes = HexBytes(data);
    if (!bytes)
        return std::nullopt;
    if (type == RegSz || type == RegExpandSz || type == RegMultiSz)
        bytes = Utf16ToText(*bytes);
    return MemoryRegistry::Value{type, std::move(*bytes)};
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
        while (i < l.size() && (l[i] == ' ' || l[i] == '\t'))
            ++i;
        if (i >= l.size() || l[i] != '=')
            continue;
        std::string_view data = l.substr(i + 1);
        while (!data.empty() && (data.front() == ' ' || data.front() == '\t'))
            data.remove_prefix(1);
        if (auto parsed = ParseData(data))
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
    Key* current = nullptr;
    ParseWineRegistry(
        text, [&](const std::string& key) { current = &KeyAt(root, key); },
        [&](const std::string& name, Value value) {
            if (current)
                Put(*current, name, std::move(value));
        });
}

void WineRegistry::Prepare(RootKey root) {
    // The machine's keys come first: they tell the code page of the text.
    if (!systemLoaded_) {
        systemLoaded_ = true;
        Load(prefix_ + "/system.reg", LocalMachine);
        // A 64-bit prefix keeps the 32-bit view's keys under
        // Software\Wow6432Node; a 32-bit prefix has none.
        KeyHandle key = 0;
        if (MemoryRegistry::OpenKey(LocalMachine, "Software\\Wow6432Node", key,
                                    RegistryView::Native) == RegOk) {
            SetTwoViews(true);
            CloseKey(key);
        }
        std::uint32_t type = 0, size = 0;
        if (MemoryRegistry::OpenKey(LocalMachine,
                                    "System\\CurrentControlSet\\Control\\Nls\\CodePage", key,
                                    RegistryView::Native) == RegOk) {
            std::vector<std::uint8_t> acp(16);
            size = static_cast<std::uint32_t>(acp.size());
            if (QueryValue(key, "ACP", type, acp.data(), size) == RegOk && type == RegSz &&
                size > 1)
                charset_ = "CP" + std::string(acp.begin(), acp.begin() + size - 1);
            CloseKey(key);
        }
        if (charset_.empty())
            charset_ = LegacyCharset(); // a prefix Wine has not started: the locale's
        if (charset_ == "CP65001")
            charset_.clear();
    }
    if (root == CurrentUser && !userLoaded_) {
        userLoaded_ = true;
        Load(prefix_ + "/user.reg", CurrentUser);
    }
}

bool WineRegistry::TwoViews() {
    Prepare(LocalMachine);
    return MemoryRegistry::TwoViews();
}

std::vector<std::pair<RootKey, std::string>>
WineRegistry::Resolve(RootKey root, const std::string& subKey, RegistryView view) {
    const std::string tail = subKey.empty() ? std::string() : "\\" + subKey;
    if (root == ClassesRoot)
        return {{LocalMachine, "Software\\Classes" + tail}};
    if (root == CurrentConfig)
        return {{LocalMachine, "System\\CurrentControlSet\\Hardware Profiles\\Current" + tail},
                {LocalMachine, "System\\ControlSet001\\Hardware Profiles\\Current" + tail}};
    return MemoryRegistry::Resolve(root, subKey, view);
}

std::vector<std::uint8_t> WineRegistry::Bytes(const Value& value) const {
    if (charset_.empty() ||
        (value.type != RegSz && value.type != RegExpandSz && value.type != RegMultiSz))
        return value.data;
    // The stored text ends in its NUL; the code page's text does too.
    const std::string_view text(reinterpret_cast<const char*>(value.data.data()),
                                value.data.empty() ? 0 : value.data.size() - 1);
    std::string bytes = EncodeCharset(text, charset_);
    return std::vector<std::uint8_t>(bytes.c_str(), bytes.c_str() + bytes.size() + 1);
}

std::string WineRegistry::Utf8Text(std::string text) const {
    if (charset_.empty())
        return text;
    return DecodeCharset(charset_, text).value_or(text);
}

} // namespace nm
