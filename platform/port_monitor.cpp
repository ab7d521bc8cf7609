#include "port_monitor.h"

namespace platform {

std::string PortStatus::describe() const {
    if (ok)
        return "Relay board port " + device + " works.";
    std::string text = "Cannot write to the relay board port " + device + ": " + error + ".";
    if (!fix.empty())
        text += " " + fix;
    return text;
}

PortMonitor::PortMonitor(PortOutput& backend, std::ostream& log) : backend_(backend), log_(log) {}

PortStatus PortMonitor::PortOut(std::uint16_t port, std::uint8_t value) {
    PortStatus status = backend_.PortOut(port, value);
    const bool changed = !last_ || !last_->sameReason(status);
    const bool wasFailing = last_ && !last_->ok;
    if (changed) {
        if (!status.ok)
            log_ << "kavo-panel: " << status.describe() << std::endl;
        else if (wasFailing)
            log_ << "kavo-panel: writes to the relay board port " << status.device << " work again."
                 << std::endl;
    }
    last_ = status;
    if (changed && listener_)
        listener_(status);
    return status;
}

void PortMonitor::setListener(Listener listener) {
    listener_ = std::move(listener);
    if (last_ && listener_)
        listener_(*last_);
}

} // namespace platform
