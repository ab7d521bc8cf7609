#pragma once
// A serial port at the LCUS boards' 9600 8N1, as the frames' transport.
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

// A serial port, closed until opened; closes itself when destroyed.
class SerialLine : public relay::SerialTransport {
  public:
    // Opens the port `device` for writing at the boards' line. A port another
    // program holds is reported as in use.
    virtual core::PortStatus open(const std::string& device) = 0;
};

// This system's serial port, whose writes wait at most `sendWait` for their
// bytes to leave.
std::unique_ptr<SerialLine> makeSerialLine(std::chrono::milliseconds sendWait);

// The USB serial ports on the chip the LCUS boards use, in the order of their
// names' numbers (ttyUSB2 before ttyUSB10, COM3 before COM10).
std::vector<relay::SerialBoardInfo> findSerialBoards();

inline constexpr std::uint16_t Ch340Vendor = 0x1a86, Ch340Product = 0x7523;

} // namespace platform
