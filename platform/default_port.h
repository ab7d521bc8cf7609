#pragma once
#include "port_output.h"

#include <memory>

namespace platform {

// The backend the program uses on this operating system. Nothing is opened
// here: the backend binds on its first write.
std::unique_ptr<PortOutput> makeDefaultPort();

} // namespace platform
