#pragma once
// The one way the program reaches the relay board: PortOut(port, byte). The
// backends in platform/ implement it. They bind lazily on the first write and
// retry binding on the next write after any failure; they never block the
// caller for long and never show anything. What went wrong travels back as a
// PortStatus so that one place (platform's PortMonitor) can tell the user.

#include <cstdint>
#include <string>

namespace core {

// The data register of the parallel port the relay board hangs on (0x378).
inline constexpr std::uint16_t ParallelDataPort = 888;

struct PortStatus {
    bool ok = true;
    std::string device; // what the backend tried to use, e.g. "/dev/parport0"
    std::string error;  // the system's own words, e.g. "Permission denied"
    std::string fix;    // what the user can do about it, in plain words

    static PortStatus success(std::string device) { return {true, std::move(device), {}, {}}; }
    static PortStatus failure(std::string device, std::string error, std::string fix) {
        return {false, std::move(device), std::move(error), std::move(fix)};
    }
    // One line for a log or a tooltip.
    std::string describe() const;
    bool sameReason(const PortStatus& other) const {
        return ok == other.ok && device == other.device && error == other.error;
    }
};

class PortOutput {
  public:
    virtual ~PortOutput() = default;
    // Puts `value` on the data lines of I/O port `port`.
    virtual PortStatus PortOut(std::uint16_t port, std::uint8_t value) = 0;
};

} // namespace core
