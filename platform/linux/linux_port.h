#pragma once
// The Linux port backend: the ppdev device of the port at 0x378 when there is
// one, and direct outb only where no ppdev device exists at all, the kernel
// lists an I/O region at 0x378, and the process may touch the hardware. A
// ppdev device that exists but is refused (permissions, another driver) is
// never gone around. It stays with whichever write path works; after a
// failure the next write looks for the device again and rebinds.

#include "core/port_output.h"
#include "ppdev_port.h"

#include <functional>
#include <memory>
#include <string>

namespace platform {

class LinuxPort : public core::PortOutput {
  public:
    using Discover = std::function<std::string()>;
    using PpdevFactory = std::function<std::unique_ptr<PpdevPort>(const std::string& device)>;
    using RegionProbe = std::function<bool()>;

    // The real devices: discovery under /proc and /dev, outb at 0x378.
    LinuxPort();
    // Lets tests replace each part.
    LinuxPort(Discover discover, PpdevFactory makePpdev, std::unique_ptr<core::PortOutput> direct,
              RegionProbe portRegionListed);

    core::PortStatus PortOut(std::uint16_t port, std::uint8_t value) override;

  private:
    core::PortStatus bind(std::uint16_t port, std::uint8_t value);

    Discover discover_;
    PpdevFactory makePpdev_;
    std::unique_ptr<core::PortOutput> direct_;
    RegionProbe portRegionListed_;
    std::unique_ptr<PpdevPort> ppdev_;
    core::PortOutput* bound_ = nullptr; // ppdev_, direct_ or none
};

} // namespace platform
