// Serial relay boards, through QtSerialPort.
#include "usb_boards.h"

#include "platform/serialport/serial_relay_port.h"

namespace cli {

bool serialBoardsBuiltIn() {
    return true;
}
std::vector<platform::relay::SerialBoardInfo> findSerialBoards() {
    return platform::findSerialBoards();
}
std::unique_ptr<core::PortOutput> openSerialBoard(const std::string& device) {
    return std::make_unique<platform::SerialRelayPort>(device);
}

} // namespace cli
