#pragma once
// Writes the relay byte through the Linux ppdev driver (/dev/parportN), which
// needs no root: membership of the group that owns the device is enough.
// The device is opened on the first write and kept locked (against a second
// panel) and claimed until destruction; after any failure it is dropped and
// the next write binds again from scratch, so a port that vanishes and comes
// back (e.g. a USB adapter) recovers, and a port another panel had is taken
// over once that panel ends.

#include "core/port_output.h"

#include <string>

namespace platform {

class PpdevPort : public core::PortOutput {
  public:
    // `printerDriver` is where the kernel shows the printer driver (lp) as
    // loaded, the likely holder of a port refused to us.
    explicit PpdevPort(std::string devicePath, std::string printerDriver = "/sys/module/lp");
    ~PpdevPort() override;
    PpdevPort(const PpdevPort&) = delete;
    PpdevPort& operator=(const PpdevPort&) = delete;

    // The device is the port, so `port` is not looked at.
    core::PortStatus PortOut(std::uint16_t port, std::uint8_t value) override;

    // Whether the last write failed because there is no port behind the path
    // at all (no device file, no driver, no hardware) rather than one that is
    // refused to us. Virtual so the fallback logic can be tested without it.
    virtual bool deviceMissing() const { return missing_; }

    // Where a bind or write failed; the advice differs.
    enum class Step { Open, Exclusive, Claim, Write };

  private:
    core::PortStatus bind();
    core::PortStatus fail(Step step, int error);
    core::PortStatus refusal() const;
    void unbind();

    std::string path_;
    std::string printerDriver_;
    int fd_ = -1;
    bool claimed_ = false;
    bool missing_ = false;
};

} // namespace platform
