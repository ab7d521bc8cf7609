// Built without QtSerialPort: no serial relay boards.
#include "usb_boards.h"

namespace cli {

bool serialBoardsBuiltIn() {
    return false;
}
std::vector<platform::relay::SerialBoardInfo> findSerialBoards() {
    return {};
}
std::unique_ptr<core::PortOutput> openSerialBoard(const std::string&) {
    return nullptr;
}

} // namespace cli
