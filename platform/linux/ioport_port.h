#pragma once
// Writes the relay byte straight to the I/O port with outb, for machines
// without the ppdev driver. Needs root (or CAP_SYS_RAWIO) and an x86 CPU;
// elsewhere every write fails with a reason.

#include "core/port_output.h"

namespace platform {

class IoPortPort : public core::PortOutput {
  public:
    explicit IoPortPort(std::uint16_t base = core::ParallelDataPort);

    // Only `base` is ever granted, so any other port is refused rather than
    // touched without permission (which would kill the program).
    core::PortStatus PortOut(std::uint16_t port, std::uint8_t value) override;

  private:
    std::uint16_t base_;
    [[maybe_unused]] bool permitted_ = false; // unused where there is no outb
};

} // namespace platform
