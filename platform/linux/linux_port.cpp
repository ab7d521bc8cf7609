#include "linux_port.h"

#include "ioport_port.h"
#include "parport_discovery.h"

namespace platform {

LinuxPort::LinuxPort()
    : LinuxPort([] { return findParportDevice(); },
                [](const std::string& device) { return std::make_unique<PpdevPort>(device); },
                std::make_unique<IoPortPort>(RelayPortBase), [] { return ioRegionListed(); }) {}

LinuxPort::LinuxPort(Discover discover, PpdevFactory makePpdev,
                     std::unique_ptr<core::PortOutput> direct, RegionProbe portRegionListed)
    : discover_(std::move(discover)), makePpdev_(std::move(makePpdev)), direct_(std::move(direct)),
      portRegionListed_(std::move(portRegionListed)) {}

core::PortStatus LinuxPort::PortOut(std::uint16_t port, std::uint8_t value) {
    if (!bound_)
        return bind(port, value);
    core::PortStatus status = bound_->PortOut(port, value);
    if (!status.ok) {
        // The device may have moved or gone; look again on the next write.
        bound_ = nullptr;
        ppdev_.reset();
    }
    return status;
}

core::PortStatus LinuxPort::bind(std::uint16_t port, std::uint8_t value) {
    ppdev_ = makePpdev_(discover_());
    core::PortStatus status = ppdev_->PortOut(port, value);
    if (status.ok) {
        bound_ = ppdev_.get();
        return status;
    }
    // A ppdev device that exists but is refused (permissions, lp) is the
    // user's to fix; writing behind its back with outb would hide that.
    if (!ppdev_->deviceMissing())
        return status;
    ppdev_.reset();
    if (!portRegionListed_())
        return core::PortStatus::failure(status.device, "no parallel port found", status.fix);
    core::PortStatus direct = direct_->PortOut(port, value);
    if (direct.ok) {
        bound_ = direct_.get();
        return direct;
    }
    // ppdev is the way that needs no root, so its fix is the one to offer.
    return status;
}

} // namespace platform
