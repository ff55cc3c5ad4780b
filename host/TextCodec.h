// Decoding a file's bytes into the editor's UTF-8 text and encoding it back
// into the same encoding, so that a file is written as it was read.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nm {

struct TextEncoding {
    std::string charset = "UTF-8"; // "UTF-8", or a legacy code page by its iconv name
    bool byteOrderMark = false;    // UTF-8 only: the file began with EF BB BF

    bool IsUtf8() const { return charset == "UTF-8"; }
    bool operator==(const TextEncoding&) const = default;
};

struct DecodedText {
    std::string text;
    TextEncoding encoding;
};

// The legacy code page of this system: on POSIX the locale's charset when it
// is a real code page (neither UTF-8 nor plain ASCII), else GB18030; on
// Windows the ANSI code page.
std::string LegacyCharset();

// The encoding a new file gets: the locale's (UTF-8 under a UTF-8 locale).
TextEncoding LocaleEncoding();

// UTF-8 when the bytes are valid UTF-8 (a byte-order mark is skipped and
// remembered); otherwise the legacy code page; bytes that are valid in
// neither are read as ISO-8859-1, which maps every byte and so writes the
// same bytes back.
DecodedText DecodeFileText(std::string_view bytes);
// The same, taking the bytes over: valid UTF-8 becomes the text without a copy.
DecodedText DecodeFileText(std::string&& bytes);

// The text in the given encoding (with its byte-order mark). A character
// that the code page cannot represent is written as "?".
std::string EncodeFileText(std::string_view text, const TextEncoding& encoding);

// Text that the C library wrote under the current locale (the date and time
// of strftime) as UTF-8. On POSIX it is in the locale's charset; on Windows in
// the C runtime's code page, which is the locale's ANSI code page once the
// program has set its locale, and need not be the system's. A byte that is
// invalid there becomes "?" (on Windows the replacement character).
std::string LocaleTextToUtf8(std::string_view text);

// The platform's converters (iconv on POSIX, the code pages on Windows)
// between UTF-8 and a legacy charset. Decoding gives nothing for bytes that
// are invalid there; encoding writes "?" for a character the charset lacks.
std::optional<std::string> DecodeCharset(const std::string& charset, std::string_view bytes);
std::string EncodeCharset(std::string_view text, const std::string& charset);

// True when the encoding can hold every character of the text, so that the
// text reads back the same from a file written in it.
bool CanEncode(std::string_view text, const TextEncoding& encoding);

} // namespace nm
