#pragma once
#include "program_start.h"

#include <memory>

namespace platform {

// Starts programs and tests files on this system.
std::unique_ptr<ProgramStarter> makeProgramStarter();

} // namespace platform
