// Built without hidapi: no USB HID relay boards.
#include "usb_boards.h"

namespace cli {

bool hidBoardsBuiltIn() {
    return false;
}
std::vector<platform::relay::HidBoardInfo> findHidBoards() {
    return {};
}
std::string hidDevicePath(const std::string& path) {
    return path;
}
std::unique_ptr<core::PortOutput> openHidBoard(const std::string&) {
    return nullptr;
}

} // namespace cli
