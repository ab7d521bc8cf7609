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

// The outputs as a board reports them, where it can (the USBRelay boards).
struct OutputsRead {
    bool canRead = false;   // whether this board tells its outputs at all
    PortStatus status;      // how reading them went
    std::uint8_t value = 0; // the output byte they stand for, once read
};

class PortOutput {
  public:
    virtual ~PortOutput() = default;
    // Puts `value` on the data lines of I/O port `port`.
    virtual PortStatus PortOut(std::uint16_t port, std::uint8_t value) = 0;
    // Asks the board which outputs are on, writing nothing; the next write
    // then changes only what differs. Most boards cannot tell.
    virtual OutputsRead ReadOutputs() { return {}; }
};

} // namespace core
