#pragma once
// Wraps the real port backend and turns its statuses into the two things a
// user can see: one line on a log stream when writes start failing (or fail
// for a new reason) and when they work again, and a callback for the main
// window's indicator. The first successful write logs nothing.

#include "core/port_output.h"

#include <functional>
#include <optional>
#include <ostream>

namespace platform {

class PortMonitor : public core::PortOutput {
  public:
    using Listener = std::function<void(const core::PortStatus&)>;

    PortMonitor(core::PortOutput& backend, std::ostream& log);

    core::PortStatus PortOut(std::uint16_t port, std::uint8_t value) override;

    void setListener(Listener listener);
    // The outcome of the last write, if any write happened yet.
    const std::optional<core::PortStatus>& lastStatus() const { return last_; }

  private:
    core::PortOutput& backend_;
    std::ostream& log_;
    Listener listener_;
    std::optional<core::PortStatus> last_;
};

} // namespace platform
