#include "host/TextCodec.h"

#include "host/Utf8.h"

#include <optional>

namespace nm {

namespace {

constexpr std::string_view Bom = "\xEF\xBB\xBF";

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

// Where the text of UTF-8 bytes begins: after a byte-order mark, else at 0;
// none when the bytes are not UTF-8.
std::optional<std::size_t> Utf8Start(std::string_view bytes) {
    const std::size_t mark = bytes.substr(0, Bom.size()) == Bom ? Bom.size() : 0;
    if (IsValidUtf8(bytes.substr(mark)))
        return mark;
    return std::nullopt;
}

// Bytes that are not UTF-8: the legacy code page, else byte for byte.
DecodedText DecodeLegacy(std::string_view bytes) {
    const std::string legacy = LegacyCharset();
    if (auto text = DecodeCharset(legacy, bytes))
        return {std::move(*text), TextEncoding{legacy, false}};
    return {DecodeLatin1(bytes), TextEncoding{"ISO-8859-1", false}};
}

} // namespace

DecodedText DecodeFileText(std::string_view bytes) {
    if (const auto start = Utf8Start(bytes))
        return {std::string(bytes.substr(*start)), TextEncoding{"UTF-8", *start != 0}};
    return DecodeLegacy(bytes);
}

DecodedText DecodeFileText(std::string&& bytes) {
    const auto start = Utf8Start(bytes);
    if (!start)
        return DecodeLegacy(bytes);
    bytes.erase(0, *start);
    return {std::move(bytes), TextEncoding{"UTF-8", *start != 0}};
}

std::string EncodeFileText(std::string_view text, const TextEncoding& encoding) {
    if (encoding.IsUtf8())
        return encoding.byteOrderMark ? std::string(Bom) + std::string(text) : std::string(text);
    return EncodeCharset(text, encoding.charset);
}

bool CanEncode(std::string_view text, const TextEncoding& encoding) {
    if (encoding.IsUtf8())
        return true;
    const std::optional<std::string> back =
        DecodeCharset(encoding.charset, EncodeFileText(text, encoding));
    return back && *back == text;
}

} // namespace nm
