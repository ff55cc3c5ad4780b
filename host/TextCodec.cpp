#include "host/TextCodec.h"

#include "host/Text.h"

#include <cerrno>
#include <clocale>
#include <optional>

#ifdef _WIN32
#include "host/Win32.h"
#else
#include <iconv.h>
#include <langinfo.h>
#endif

namespace nm {

namespace {

constexpr std::string_view Bom = "\xEF\xBB\xBF";

#ifndef _WIN32

// The charset of the current C locale, in upper case.
std::string LocaleCodeset() {
    const char* codeset = nl_langinfo(CODESET);
    return codeset ? UpperCase(codeset) : std::string();
}

bool IsUtf8Codeset(const std::string& name) {
    return name == "UTF-8" || name == "UTF8";
}

// Plain ASCII, the charset of the "C" locale.
bool IsAsciiCodeset(const std::string& name) {
    return name.empty() || name == "ANSI_X3.4-1968" || name == "ASCII" || name == "US-ASCII";
}

class Iconv {
public:
    Iconv(const std::string& to, const std::string& from)
        : handle_(iconv_open(to.c_str(), from.c_str())) {}
    ~Iconv() {
        if (Ok())
            iconv_close(handle_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool Ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as possible. Returns false at an invalid or
    // unconvertible sequence, leaving `in` and `left` at it.
    bool Convert(const char*& in, std::size_t& left, std::string& out) {
        char buffer[4096];
        while (left > 0) {
            char* dst = buffer;
            std::size_t room = sizeof buffer;
            char* src = const_cast<char*>(in);
            const std::size_t rc = iconv(handle_, &src, &left, &dst, &room);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            in = src;
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG)
                return false;
        }
        // Flush any shift state.
        char* dst = buffer;
        std::size_t room = sizeof buffer;
        iconv(handle_, nullptr, nullptr, &dst, &room);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        return true;
    }

private:
    iconv_t handle_;
};

std::optional<std::string> DecodeWith(const std::string& charset, std::string_view bytes) {
    Iconv cd("UTF-8", charset);
    if (!cd.Ok())
        return std::nullopt;
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    const char* in = bytes.data();
    std::size_t left = bytes.size();
    if (!cd.Convert(in, left, out))
        return std::nullopt;
    return out;
}

#else

unsigned CodePageOf(const std::string& charset) {
    if (charset == "ISO-8859-1")
        return 28591;
    if (charset.rfind("CP", 0) == 0)
        return static_cast<unsigned>(std::stoul(charset.substr(2)));
    return CP_ACP;
}

std::optional<std::string> DecodeWith(const std::string& charset, std::string_view bytes) {
    if (bytes.empty())
        return std::string();
    const unsigned cp = CodePageOf(charset);
    const int n = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, bytes.data(),
                                      static_cast<int>(bytes.size()), nullptr, 0);
    if (n <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                        wide.data(), n);
    const int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(m), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, out.data(), m, nullptr, nullptr);
    return out;
}

#endif

std::string DecodeLatin1(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out.push_back(c);
        } else {
            out.push_back(static_cast<char>(0xC0 | (b >> 6)));
            out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return out;
}

} // namespace

std::string LegacyCharset() {
#ifdef _WIN32
    return "CP" + std::to_string(GetACP());
#else
    const std::string name = LocaleCodeset();
    return IsUtf8Codeset(name) || IsAsciiCodeset(name) ? "GB18030" : name;
#endif
}

TextEncoding LocaleEncoding() {
#ifdef _WIN32
    return TextEncoding{LegacyCharset(), false};
#else
    if (IsUtf8Codeset(LocaleCodeset()))
        return TextEncoding{"UTF-8", false};
    return TextEncoding{LegacyCharset(), false};
#endif
}

DecodedText DecodeFileText(std::string_view bytes) {
    if (bytes.substr(0, Bom.size()) == Bom && IsValidUtf8(bytes.substr(Bom.size())))
        return {std::string(bytes.substr(Bom.size())), TextEncoding{"UTF-8", true}};
    if (IsValidUtf8(bytes))
        return {std::string(bytes), TextEncoding{"UTF-8", false}};
    const std::string legacy = LegacyCharset();
    if (auto text = DecodeWith(legacy, bytes))
        return {std::move(*text), TextEncoding{legacy, false}};
    return {DecodeLatin1(bytes), TextEncoding{"ISO-8859-1", false}};
}

std::string EncodeFileText(std::string_view text, const TextEncoding& encoding) {
    if (encoding.IsUtf8())
        return encoding.byteOrderMark ? std::string(Bom) + std::string(text) : std::string(text);
    std::string out;
    out.reserve(text.size());
#ifdef _WIN32
    const unsigned cp = CodePageOf(encoding.charset);
    std::wstring wide = Wide(text);
    if (cp != 54936) {
        // A character beyond the basic plane is one "?", not one per half.
        std::wstring single;
        single.reserve(wide.size());
        for (std::size_t i = 0; i < wide.size(); ++i) {
            const bool pair = wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size() &&
                              wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF;
            single += pair ? L'?' : wide[i];
            i += pair ? 1 : 0;
        }
        wide = std::move(single);
    }
    const int n = static_cast<int>(wide.size());
    const int m = WideCharToMultiByte(cp, 0, wide.data(), n, nullptr, 0, "?", nullptr);
    out.resize(static_cast<std::size_t>(m > 0 ? m : 0));
    if (m > 0)
        WideCharToMultiByte(cp, 0, wide.data(), n, out.data(), m, "?", nullptr);
#else
    Iconv cd(encoding.charset, "UTF-8");
    if (!cd.Ok())
        return std::string(text);
    const char* in = text.data();
    std::size_t left = text.size();
    while (!cd.Convert(in, left, out)) {
        // A character the code page lacks: write "?" and go on after it.
        out.push_back('?');
        std::size_t skip = 1;
        while (skip < left && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80)
            ++skip;
        in += skip;
        left -= skip;
    }
#endif
    return out;
}

std::string LocaleTextToUtf8(std::string_view text) {
#ifdef _WIN32
    // 0 is the "C" locale, whose text is ASCII.
    const unsigned codePage = ___lc_codepage_func();
    return Narrow(Wide(text, codePage == 0 ? CP_ACP : codePage));
#else
    const std::string codeset = LocaleCodeset();
    if (IsUtf8Codeset(codeset) || IsAsciiCodeset(codeset))
        return std::string(text);
    std::string out;
    Iconv cd("UTF-8", codeset);
    if (!cd.Ok()) {
        // A charset iconv does not know: only its ASCII is certain.
        for (const char c : text)
            out.push_back(static_cast<unsigned char>(c) < 0x80 ? c : '?');
        return out;
    }
    const char* in = text.data();
    std::size_t left = text.size();
    while (!cd.Convert(in, left, out)) {
        // A byte that is invalid in the charset.
        out.push_back('?');
        ++in;
        --left;
    }
    return out;
#endif
}

bool CanEncode(std::string_view text, const TextEncoding& encoding) {
    if (encoding.IsUtf8())
        return true;
    const std::optional<std::string> back =
        DecodeWith(encoding.charset, EncodeFileText(text, encoding));
    return back && *back == text;
}

} // namespace nm
