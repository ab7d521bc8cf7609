#pragma once
#include "core/beeper.h"

#include <memory>

namespace platform {

// The beep the desktop makes for the program. Needs the application object
// to exist, since which beep sounds depends on the window system in use.
std::unique_ptr<core::Beeper> makeSystemBeeper();

} // namespace platform
