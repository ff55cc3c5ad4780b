#include "host/TextCodec.h"

#include "host/Utf8.h"

#include <cerrno>
#include <iconv.h>
#include <langinfo.h>

namespace nm {

namespace {

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

} // namespace

std::optional<std::string> DecodeCharset(const std::string& charset, std::string_view bytes) {
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

std::string EncodeCharset(std::string_view text, const std::string& charset) {
    std::string out;
    out.reserve(text.size());
    Iconv cd(charset, "UTF-8");
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
    return out;
}

std::string LegacyCharset() {
    const std::string name = LocaleCodeset();
    return IsUtf8Codeset(name) || IsAsciiCodeset(name) ? "GB18030" : name;
}

TextEncoding LocaleEncoding() {
    if (IsUtf8Codeset(LocaleCodeset()))
        return TextEncoding{"UTF-8", false};
    return TextEncoding{LegacyCharset(), false};
}

std::string LocaleTextToUtf8(std::string_view text) {
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
}

} // namespace nm
