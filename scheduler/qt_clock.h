#pragma once
#include "platform/clock.h"

#include <cstdint>
#include <limits>

namespace scheduler {

// The system clock, in local time. The busiest row reads it a hundred times a
// second, so the offset from UTC is looked up once per second, not per call.
class SystemClock : public platform::Clock {
  public:
    std::int64_t localMsecs() const override;

  private:
    mutable std::int64_t offsetSecond_ = std::numeric_limits<std::int64_t>::min();
    mutable std::int64_t offsetMs_ = 0;
};

} // namespace scheduler
