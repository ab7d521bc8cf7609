#include "system_clock.h"
#include "platform/default_clock.h"

#include <QDateTime>

#include <ctime>

namespace platform::qt {

std::int64_t SystemClock::localMsecs() const {
    const std::int64_t utcMs = QDateTime::currentMSecsSinceEpoch();
    const std::int64_t second = utcMs / 1000;
    if (second != offsetSecond_) {
        offsetSecond_ = second;
        ::tzset(); // localtime_r alone never looks at the zone again
        const auto t = static_cast<std::time_t>(second);
        std::tm local{};
#ifdef _WIN32
        // No tm_gmtoff there: the local wall-clock time read back as UTC.
        localtime_s(&local, &t);
        offsetMs_ = (std::int64_t{_mkgmtime(&local)} - second) * 1000;
#else
        localtime_r(&t, &local);
        offsetMs_ = std::int64_t{local.tm_gmtoff} * 1000;
#endif
    }
    return utcMs + offsetMs_;
}

} // namespace platform::qt

namespace platform {
std::unique_ptr<core::Clock> makeSystemClock() {
    return std::make_unique<qt::SystemClock>();
}
} // namespace platform
