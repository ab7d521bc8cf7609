#pragma once
// The port backend for LCUS relay boards on a USB serial chip (CH340), driven
// through QtSerialPort at 9600 8N1. The port is opened on the first write and
// every relay is set; afterwards only relays whose bit changed are sent.
// Each write waits a short, bounded time for its frames to leave. The boards
// never answer, so a board that ignores a frame cannot be noticed; a port
// that fails (unplugged, refused) can, and after any failure the port is
// closed and the next write opens it again. QSerialPort keeps a port to one
// program (a lock file, and an exclusive open); a port another program holds
// is reported as such, with that program's name and process ID where the
// system tells them.

#include "core/port_output.h"
#include "platform/relay/serial_boards.h"

#include <QtGlobal>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

QT_BEGIN_NAMESPACE
class QSerialPort;
QT_END_NAMESPACE

namespace platform {

namespace relay {
class LcusSerialBoard;
class RelaySwitcher;
} // namespace relay

class QtSerialTransport;

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
    std::unique_ptr<QSerialPort> serial_;
    std::unique_ptr<QtSerialTransport> transport_;
    std::unique_ptr<relay::LcusSerialBoard> board_;
    std::unique_ptr<relay::RelaySwitcher> switcher_;
};

// The USB serial ports on the chip the LCUS boards use.
std::vector<relay::SerialBoardInfo> findSerialBoards();

inline constexpr std::uint16_t Ch340Vendor = 0x1a86, Ch340Product = 0x7523;

} // namespace platform
