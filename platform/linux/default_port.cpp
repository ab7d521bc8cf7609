#include "../default_port.h"
#include "linux_port.h"
#include "parport_discovery.h"

#include <filesystem>

namespace platform {

std::unique_ptr<core::PortOutput> makeDefaultPort() {
    return std::make_unique<LinuxPort>();
}

std::string presentParallelPort() {
    std::error_code ec;
    const std::string device = findParportDevice();
    return std::filesystem::exists(device, ec) ? device : std::string();
}

} // namespace platform
