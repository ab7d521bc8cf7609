#pragma once
#include "registry.h"

#include <memory>

namespace platform {

// The system's registry where there is one; elsewhere the stand-in that
// answers the About window's lookup.
std::unique_ptr<Registry> makeSystemRegistry();

} // namespace platform
