#pragma once
#include "clock.h"

#include <memory>

namespace platform {

// The system's local wall clock.
std::unique_ptr<Clock> makeSystemClock();

} // namespace platform
