// Small text routines of the host environment, shared by the registry access
// and the file locator.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nm {

// Every occurrence of `find` replaced, left to right, without overlaps.
std::string StrReplace(std::string_view find, std::string_view replacement,
                       std::string_view source);
// The pieces between delimiters; an empty source gives one empty piece. The
// index of the last piece is the result's size minus one.
std::vector<std::string> StrSplit(std::string_view delimiter, std::string_view source);
std::string TrimLeading(std::string_view text, std::string_view piece);
std::string TrimTrailing(std::string_view text, std::string_view piece);
// Tabs become blanks; leading and trailing blanks go.
std::string TrimBlanks(std::string_view text);

// The pieces one after another, made in one allocation (a chain of `+` grows
// and copies its text at each step).
template <typename... Pieces> std::string Join(const Pieces&... pieces) {
    const std::string_view views[] = {std::string_view(pieces)...};
    std::size_t size = 0;
    for (const std::string_view view : views)
        size += view.size();
    std::string out;
    out.reserve(size);
    for (const std::string_view view : views)
        out += view;
    return out;
}
} // namespace nm
