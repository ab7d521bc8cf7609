#pragma once
#include "platform/clock.h"

namespace scheduler {

// The system clock, in local time.
class SystemClock : public platform::Clock {
  public:
    std::int64_t localMsecs() const override;
};

} // namespace scheduler
