#include "core/CompactText.h"

#include "host/Utf8.h"

#include <limits>
#include <stdexcept>

namespace nm {

void CompactText::SetLarge(const char* data, std::size_t size, unsigned char tag) {
    if (size > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("a field longer than 4 GB");
    const auto size32 = static_cast<std::uint32_t>(size);
    std::memcpy(bytes_, &data, sizeof data);
    std::memcpy(bytes_ + 8, &size32, sizeof size32);
    bytes_[15] = tag;
}

void CompactText::AssignLarge(std::string_view text) {
    char* copy = new char[text.size()];
    std::memcpy(copy, text.data(), text.size());
    try {
        SetLarge(copy, text.size(), Heap);
    } catch (...) {
        delete[] copy;
        throw;
    }
}

CompactText CompactText::Lasting(std::string_view text) {
    CompactText lasting;
    if (text.size() <= MaxSmall)
        lasting.Assign(text);
    else
        lasting.SetLarge(text.data(), text.size(), Borrowed);
    return lasting;
}

CompactText::CompactText(const CompactText& other) {
    if (other.Tag() == Heap)
        Assign(other.View());
    else
        std::memcpy(bytes_, other.bytes_, sizeof bytes_);
}

CompactText& CompactText::operator=(const CompactText& other) {
    if (this != &other) {
        CompactText copy(other);
        *this = std::move(copy);
    }
    return *this;
}

namespace {

// Whether upper-casing leaves `text` as it is: plain ASCII without a small letter.
bool UpperAlready(std::string_view text) {
    // No early way out, so that the loop runs many bytes at a time.
    bool other = false;
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        other |= code >= 0x80 || static_cast<unsigned char>(code - 'a') < 26;
    }
    return !other;
}

} // namespace

void TrimAndUpperCase(CompactText& text) {
    const std::string_view whole = text;
    const std::string_view trimmed = TrimSpaces(whole);
    if (!UpperAlready(trimmed))
        text = CompactText(UpperCase(trimmed));
    else if (trimmed.size() != whole.size())
        text = CompactText(trimmed);
}

void TrimSpacesInPlace(CompactText& text) {
    const std::string_view whole = text;
    const std::string_view trimmed = TrimSpaces(whole);
    if (trimmed.size() != whole.size())
        text = CompactText(trimmed);
}

} // namespace nm
