#include "port_monitor.h"

namespace platform {

PortMonitor::PortMonitor(core::PortOutput& backend, std::ostream& log)
    : backend_(&backend), log_(log) {}

PortMonitor::PortMonitor(std::ostream& log, std::string program)
    : backend_(nullptr), log_(log), program_(std::move(program)) {}

core::PortStatus PortMonitor::PortOut(std::uint16_t port, std::uint8_t value) {
    core::PortStatus status =
        backend_ ? backend_->PortOut(port, value) : core::PortStatus::success({});
    observe(status);
    return status;
}

void PortMonitor::observe(const core::PortStatus& status) {
    const bool changed = !last_ || !last_->sameReason(status);
    const bool wasFailing = last_ && !last_->ok;
    if (changed) {
        if (!status.ok)
            log_ << program_ << ": " << status.describe() << std::endl;
        else if (wasFailing)
            log_ << program_ << ": writes to the relay board port " << status.device
                 << " work again." << std::endl;
    }
    last_ = status;
    if (changed && listener_)
        listener_(status);
}

void PortMonitor::setListener(Listener listener) {
    listener_ = std::move(listener);
    if (last_ && listener_)
        listener_(*last_);
}

} // namespace platform
