// USB HID relay boards, through hidapi.
#include "usb_boards.h"

#include "platform/hidapi/hid_relay_port.h"
#include "platform/hidapi/hidapi_transport.h"

namespace cli {

bool hidBoardsBuiltIn() {
    return true;
}
std::vector<platform::relay::HidBoardInfo> findHidBoards() {
    return platform::findHidBoards(true);
}
std::string hidDevicePath(const std::string& path) {
    return platform::canonicalDevicePath(path);
}
std::unique_ptr<core::PortOutput> openHidBoard(const std::string& selector) {
    return std::make_unique<platform::HidRelayPort>(selector);
}

} // namespace cli
