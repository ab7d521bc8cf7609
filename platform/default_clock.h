#pragma once
#include "core/clock.h"

#include <memory>

namespace platform {

// The system's local wall clock.
std::unique_ptr<core::Clock> makeSystemClock();

} // namespace platform
