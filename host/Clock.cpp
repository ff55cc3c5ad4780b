#include "host/Clock.h"

#include "host/TextCodec.h"

#include <array>
#include <cerrno>
#include <cstdlib>

namespace nm {

namespace {

class SystemClock final : public Clock {
public:
    std::tm Now() const override {
        if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) {
            char* end = nullptr;
            errno = 0;
            const long long seconds = std::strtoll(epoch, &end, 10);
            if (errno == 0 && end && *end == '\0' && seconds >= 0) {
                return UtcTime(static_cast<std::time_t>(seconds));
            }
        }
        return LocalTime(std::time(nullptr));
    }
};

std::string Format(const char* format, const std::tm& when) {
    std::array<char, 128> buffer{};
    const std::size_t n = std::strftime(buffer.data(), buffer.size(), format, &when);
    return LocaleTextToUtf8(std::string_view(buffer.data(), n));
}

} // namespace

std::unique_ptr<Clock> MakeSystemClock() {
    return std::make_unique<SystemClock>();
}

std::string ShortDateText(const std::tm& when) {
    return Format("%x", when);
}
std::string LongTimeText(const std::tm& when) {
    return Format("%X", when);
}

} // namespace nm
