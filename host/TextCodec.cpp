#include "host/TextCodec.h"

#include "host/Utf8.h"

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

} // namespace

DecodedText DecodeFileText(std::string_view bytes) {
    if (bytes.substr(0, Bom.size()) == Bom && IsValidUtf8(bytes.substr(Bom.size())))
        return {std::string(bytes.substr(Bom.size())), TextEncoding{"UTF-8", true}};
    if (IsValidUtf8(bytes))
        return {std::string(bytes), TextEncoding{"UTF-8", false}};
    const std::string legacy = LegacyCharset();
    if (auto text = DecodeCharset(legacy, bytes))
        return {std::move(*text), TextEncoding{legacy, false}};
    return {DecodeLatin1(bytes), TextEncoding{"ISO-8859-1", false}};
}

DecodedText DecodeFileText(std::string&& bytes) {
    const bool marked = std::string_view(bytes).substr(0, Bom.size()) == Bom;
    if (!IsValidUtf8(std::string_view(bytes).substr(marked ? Bom.size() : 0)))
        return DecodeFileText(std::string_view(bytes));
    if (marked)
        bytes.erase(0, Bom.size());
    return {std::move(bytes), TextEncoding{"UTF-8", marked}};
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
