#include "host/Clock.h"

namespace nm {

std::tm UtcTime(std::time_t t) {
    std::tm result{};
    gmtime_r(&t, &result);
    return result;
}

std::tm LocalTime(std::time_t t) {
    std::tm result{};
    localtime_r(&t, &result);
    return result;
}

} // namespace nm
