#include "host/Environment.h"

#include "host/Utf8.h"

namespace nm {

void Variables::Set(const std::string& name, std::string value) {
    values_[UpperCase(name)] = {name, std::move(value)};
}

const std::string* Variables::Find(const std::string& name) const {
    const auto found = values_.find(UpperCase(name));
    return found == values_.end() ? nullptr : &found->second.second;
}

std::string ExpandEnvVars(std::string_view text, const Variables& variables) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t open = text.find('%', i);
        if (open == std::string_view::npos)
            break;
        const std::size_t close = text.find('%', open + 1);
        if (close == std::string_view::npos)
            break;
        out += text.substr(i, open - i);
        const std::string name(text.substr(open + 1, close - open - 1));
        const std::string* value = name.empty() ? nullptr : variables.Find(name);
        out += value ? std::string_view(*value) : text.substr(open, close - open + 1);
        i = close + 1;
    }
    out += text.substr(i);
    return out;
}

} // namespace nm
