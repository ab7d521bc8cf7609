#pragma once
#include <cstdint>

namespace core {

// Local wall-clock time, as milliseconds since 1970-01-01 00:00:00 *local*
// time (UTC plus the current offset). A change of daylight-saving time or a
// manual change of the clock shows up as a jump in this value.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::int64_t localMsecs() const = 0;
};

} // namespace core
