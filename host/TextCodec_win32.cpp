#include "host/TextCodec.h"

#include "host/Win32.h"

#include <clocale>

namespace nm {

namespace {

unsigned CodePageOf(const std::string& charset) {
    if (charset == "ISO-8859-1")
        return 28591;
    if (charset.rfind("CP", 0) == 0)
        return static_cast<unsigned>(std::stoul(charset.substr(2)));
    return CP_ACP;
}

} // namespace

std::optional<std::string> DecodeCharset(const std::string& charset, std::string_view bytes) {
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

std::string EncodeCharset(std::string_view text, const std::string& charset) {
    const unsigned cp = CodePageOf(charset);
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
    std::string out;
    const int n = static_cast<int>(wide.size());
    const int m = WideCharToMultiByte(cp, 0, wide.data(), n, nullptr, 0, "?", nullptr);
    out.resize(static_cast<std::size_t>(m > 0 ? m : 0));
    if (m > 0)
        WideCharToMultiByte(cp, 0, wide.data(), n, out.data(), m, "?", nullptr);
    return out;
}

std::string LegacyCharset() {
    return "CP" + std::to_string(GetACP());
}

TextEncoding LocaleEncoding() {
    return TextEncoding{LegacyCharset(), false};
}

std::string LocaleTextToUtf8(std::string_view text) {
    // 0 is the "C" locale, whose text is ASCII.
    const unsigned codePage = ___lc_codepage_func();
    return Narrow(Wide(text, codePage == 0 ? CP_ACP : codePage));
}

} // namespace nm
