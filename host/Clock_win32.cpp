#include "host/Clock.h"

namespace nm {

std::tm UtcTime(std::time_t t) {
    std::tm result{};
    gmtime_s(&result, &t);
    return result;
}

std::tm LocalTime(std::time_t t) {
    std::tm result{};
    localtime_s(&result, &t);
    return result;
}

} // namespace nm
