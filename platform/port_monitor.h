#pragma once
// Wraps the real port backend and turns its statuses into the two things a
// user can see: one line on a log stream when writes start failing (or fail
// for a new reason) and when they work again, and a callback for the main
// window's indicator. The first successful write logs nothing. Writes made
// elsewhere (on the device's own thread) are told to it with observe().

#include "core/port_output.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace platform {

class PortMonitor : public core::PortOutput {
  public:
    using Listener = std::function<void(const core::PortStatus&)>;

    PortMonitor(core::PortOutput& backend, std::ostream& log);
    // Only observes; PortOut writes nowhere. `program` starts each line.
    explicit PortMonitor(std::ostream& log, std::string program = "kavo-panel");

    core::PortStatus PortOut(std::uint16_t port, std::uint8_t value) override;
    // A write's outcome, as the backend answered it.
    void observe(const core::PortStatus& status);

    void setListener(Listener listener);
    // The outcome of the last write, if any write happened yet.
    const std::optional<core::PortStatus>& lastStatus() const { return last_; }

  private:
    core::PortOutput* backend_;
    std::ostream& log_;
    std::string program_ = "kavo-panel";
    Listener listener_;
    std::optional<core::PortStatus> last_;
};

} // namespace platform
