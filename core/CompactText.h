// The text of one field of a row or a load list, in 16 bytes: up to 15 bytes
// held in place (most names and commands), a longer text on the heap, or a
// view of text that lasts as long as the program (the placeholder names, runs
// of one character that grow to 32767 characters each, are views of one run).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace nm {

class CompactText {
public:
    CompactText() noexcept { SetSmall(0); }
    explicit CompactText(std::string_view text) { Assign(text); }
    explicit CompactText(const std::string& text) : CompactText(std::string_view(text)) {}
    explicit CompactText(const char* text) : CompactText(std::string_view(text)) {}
    // A view of `text`, which must outlive every copy of what this returns.
    static CompactText Lasting(std::string_view text);

    CompactText(const CompactText& other);
    CompactText(CompactText&& other) noexcept {
        std::memcpy(bytes_, other.bytes_, sizeof bytes_);
        other.SetSmall(0);
    }
    CompactText& operator=(const CompactText& other);
    CompactText& operator=(CompactText&& other) noexcept {
        if (this != &other) {
            Release();
            std::memcpy(bytes_, other.bytes_, sizeof bytes_);
            other.SetSmall(0);
        }
        return *this;
    }
    ~CompactText() { Release(); }

    std::string_view View() const noexcept {
        if (Tag() <= MaxSmall)
            return {reinterpret_cast<const char*>(bytes_),
                    static_cast<std::size_t>(MaxSmall - Tag())};
        return {LargeData(), LargeSize()};
    }
    operator std::string_view() const noexcept { return View(); }
    std::string Str() const { return std::string(View()); }
    std::size_t size() const noexcept { return View().size(); }
    bool empty() const noexcept { return size() == 0; }

    friend bool operator==(const CompactText& a, const CompactText& b) noexcept {
        return a.View() == b.View();
    }
    friend bool operator==(const CompactText& a, std::string_view b) noexcept {
        return a.View() == b;
    }
    // Joined to other text, as a std::string would be.
    friend std::string operator+(std::string a, const CompactText& b) { return a += b.View(); }
    friend std::string operator+(const char* a, const CompactText& b) {
        return std::string(a) += b.View();
    }
    friend std::string operator+(const CompactText& a, std::string_view b) { return a.Str() += b; }
    friend std::string operator+(const CompactText& a, const char* b) { return a.Str() += b; }

private:
    static constexpr unsigned char MaxSmall = 15;
    static constexpr unsigned char Heap = 0x40;
    static constexpr unsigned char Borrowed = 0x41;

    // Held in place: the bytes, then in the last byte 15 less the length.
    // Otherwise: a pointer, a 32-bit length, and Heap or Borrowed last.
    alignas(8) unsigned char bytes_[16];

    unsigned char Tag() const noexcept { return bytes_[15]; }
    void SetSmall(std::size_t size) noexcept {
        bytes_[15] = static_cast<unsigned char>(MaxSmall - size);
    }
    const char* LargeData() const noexcept {
        const char* data;
        std::memcpy(&data, bytes_, sizeof data);
        return data;
    }
    std::uint32_t LargeSize() const noexcept {
        std::uint32_t size;
        std::memcpy(&size, bytes_ + 8, sizeof size);
        return size;
    }
    void SetLarge(const char* data, std::size_t size, unsigned char tag);
    void Assign(std::string_view text) {
        if (text.size() > MaxSmall)
            return AssignLarge(text);
        if (!text.empty())
            std::memcpy(bytes_, text.data(), text.size());
        SetSmall(text.size());
    }
    void AssignLarge(std::string_view text);
    void Release() noexcept {
        if (Tag() == Heap)
            delete[] LargeData();
    }
};

// `text` without leading and trailing blanks and in upper case, copied only
// when that changes it.
void TrimAndUpperCase(CompactText& text);
// `text` without leading and trailing blanks, copied only when that changes it.
void TrimSpacesInPlace(CompactText& text);

} // namespace nm
