#pragma once
#include "core/port_output.h"

#include <memory>
#include <string>

namespace platform {

// The backend the program uses on this operating system. Nothing is opened
// here: the backend binds on its first write.
std::unique_ptr<core::PortOutput> makeDefaultPort();

// The parallel port device that backend would use, where one is present on
// this machine (for listing what is plugged in); empty otherwise.
std::string presentParallelPort();

} // namespace platform
