#pragma once
// The system clock, in local time.
//
// The busiest row reads the clock a hundred times a second, so the offset
// from UTC is worked out once per second, not per call. Each time it is,
// the C library is told to read the time zone afresh: glibc otherwise keeps
// the zone it loaded first, and a zone changed on the desktop (a new
// /etc/localtime, or a new TZ) would be ignored until the program restarts.

#include "core/clock.h"

#include <cstdint>
#include <limits>

namespace platform::qt {

class SystemClock : public core::Clock {
  public:
    std::int64_t localMsecs() const override;

  private:
    mutable std::int64_t offsetSecond_ = std::numeric_limits<std::int64_t>::min();
    mutable std::int64_t offsetMs_ = 0;
};

} // namespace platform::qt
