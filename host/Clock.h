// The current date and time, as the header of a saved file shows them.
#pragma once

#include <ctime>
#include <memory>
#include <string>

namespace nm {

class Clock {
public:
    virtual ~Clock() = default;
    // The current local date and time, broken down.
    virtual std::tm Now() const = 0;
};

// The system clock; when SOURCE_DATE_EPOCH holds a number of seconds, that
// moment (in UTC) instead, so that generated files can be reproduced.
std::unique_ptr<Clock> MakeSystemClock();

// A moment broken down in UTC or in local time, by the C library's
// thread-safe calls of this platform.
std::tm UtcTime(std::time_t t);
std::tm LocalTime(std::time_t t);

// The date in the user's locale's short form and the time in its long form
// (strftime's %x and %X under the current C locale), as UTF-8 whatever the
// locale's charset, so that they can join the editor's text.
std::string ShortDateText(const std::tm& when);
std::string LongTimeText(const std::tm& when);

} // namespace nm
