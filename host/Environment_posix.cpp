#include "host/Environment.h"

#include <cstring>

extern char** environ;

namespace nm {

Variables ProcessVariables() {
    Variables variables;
    for (char** entry = environ; entry && *entry; ++entry) {
        const char* equals = std::strchr(*entry, '=');
        if (equals && equals != *entry)
            variables.Set(std::string(*entry, static_cast<std::size_t>(equals - *entry)),
                          equals + 1);
    }
    return variables;
}

} // namespace nm
