#include "../default_port.h"
#include "iodll_port.h"

namespace platform {

std::unique_ptr<core::PortOutput> makeDefaultPort() {
    return std::make_unique<IoDllPort>();
}

// IO.DLL writes to the port whether or not one is there: nothing to look at.
std::string presentParallelPort() {
    return {};
}

} // namespace platform
