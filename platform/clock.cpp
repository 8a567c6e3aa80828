#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace drapeline::platform {

LocalTime SystemClock::now() const {
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm parts{};
    // The reentrant forms: plain localtime shares one static buffer across threads.
#ifdef _WIN32
    if (localtime_s(&parts, &t) != 0) return {};
#else
    if (localtime_r(&t, &parts) == nullptr) return {};
#endif
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                     parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

}  // namespace drapeline::platform
