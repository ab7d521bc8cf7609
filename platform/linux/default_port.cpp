#include "../default_port.h"
#include "linux_port.h"

namespace platform {

std::unique_ptr<PortOutput> makeDefaultPort() {
    return std::make_unique<LinuxPort>();
}

} // namespace platform
