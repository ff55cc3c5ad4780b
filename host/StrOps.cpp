#include "host/StrOps.h"

namespace nm {

std::string StrReplace(std::string_view find, std::string_view replacement,
                       std::string_view source) {
    if (find.empty() || source.find(find) == std::string_view::npos)
        return std::string(source);
    std::string out;
    out.reserve(source.size());
    std::size_t i = 0;
    while (i + find.size() <= source.size()) {
        if (source.compare(i, find.size(), find) == 0) {
            out += replacement;
            i += find.size();
        } else {
            out += source[i++];
        }
    }
    out += source.substr(i);
    return out;
}

std::vector<std::string> StrSplit(std::string_view delimiter, std::string_view source) {
    std::vector<std::string> pieces;
    if (delimiter.empty())
        return {std::string(source)};
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = source.find(delimiter, start);
        if (at == std::string_view::npos) {
            pieces.emplace_back(source.substr(start));
            return pieces;
        }
        pieces.emplace_back(source.substr(start, at - start));
        start = at + delimiter.size();
    }
}

std::string TrimLeading(std::string_view text, std::string_view piece) {
    if (!piece.empty())
        while (text.size() >= piece.size() && text.substr(0, piece.size()) == piece)
            text.remove_prefix(piece.size());
    return std::string(text);
}

std::string TrimTrailing(std::string_view text, std::string_view piece) {
    if (!piece.empty())
        while (text.size() >= piece.size() && text.substr(text.size() - piece.size()) == piece)
            text.remove_suffix(piece.size());
    return std::string(text);
}

std::string TrimBlanks(std::string_view text) {
    return TrimLeading(TrimTrailing(StrReplace("\t", " ", text), " "), " ");
}

} // namespace nm
