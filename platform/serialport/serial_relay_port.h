#pragma once
// The port backend for LCUS relay boards on a USB serial chip (CH340), at
// 9600 8N1 (serial_line.h). The port is opened on the first write and every
// relay is set; afterwards only relays whose bit changed are sent. Each write
// waits a short, bounded time for its frames to leave. The boards never
// answer, so a board that ignores a frame cannot be noticed; a port that
// fails (unplugged, refused) can, and after any failure the port is closed
// and the next write opens it again. A serial port is kept to one program
// (on Linux a lock file and an exclusive open, on Windows the system's
// exclusive open); a port another program holds is reported as such, with
// that program's name and process ID where the system tells them.

#include "core/port_output.h"
#include "platform/serialport/serial_line.h"

#include <chrono>
#include <memory>
#include <string>

namespace platform {

namespace relay {
class LcusSerialBoard;
class RelaySwitcher;
} // namespace relay

class SerialRelayPort : public core::PortOutput {
  public:
    static constexpr std::chrono::milliseconds DefaultFlushWait{250};

    explicit SerialRelayPort(std::string device,
                             std::chrono::milliseconds flushWait = DefaultFlushWait);
    ~SerialRelayPort() override;

    // The serial port is the board, so `port` is not looked at.
    core::PortStatus PortOut(std::uint16_t port, std::uint8_t value) override;

  private:
    core::PortStatus bind();
    core::PortStatus fail(core::PortStatus status); // closes the port first
    void close();

    std::string device_;
    std::chrono::milliseconds flushWait_;
    std::unique_ptr<SerialLine> line_;
    std::unique_ptr<relay::LcusSerialBoard> board_;
    std::unique_ptr<relay::RelaySwitcher> switcher_;
};

} // namespace platform
