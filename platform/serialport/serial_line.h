#pragma once
// An open serial port at the LCUS boards' 9600 8N1, as the frames' transport.
// One backend per system: QtSerialPort on Linux, Win32's COM ports on
// Windows, where QtSerialPort is not built.

#include "core/port_output.h"
#include "platform/relay/relay_board.h"
#include "platform/relay/serial_boards.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct SerialLineOpen {
    std::unique_ptr<relay::SerialTransport> line; // closes the port when destroyed
    core::PortStatus status;                      // why there is no line
};

// Opens the port `device` for writing. A write waits at most `sendWait` for
// its bytes to leave; a port another program holds is reported as in use.
SerialLineOpen openSerialLine(const std::string& device, std::chrono::milliseconds sendWait);

// The USB serial ports on the chip the LCUS boards use, in the order of their
// names' numbers (ttyUSB2 before ttyUSB10, COM3 before COM10).
std::vector<relay::SerialBoardInfo> findSerialBoards();

inline constexpr std::uint16_t Ch340Vendor = 0x1a86, Ch340Product = 0x7523;

} // namespace platform
