#pragma once
// The USB HID relay boards that are plugged in, and which of them a
// --board=usb-hid[:SELECTOR] value means. Finding them is the transport's
// job; this is only the choosing, so it can be checked on plain lists.

#include "board_choice.h"
#include "hid_relay_protocol.h"
#include "platform/device_error.h"

#include <string>
#include <vector>

namespace platform::relay {

struct HidBoardInfo {
    std::string path; // e.g. /dev/hidraw2
    HidBoardModel model;
    std::string serial; // the USB serial number, often empty or the same on every board
    std::string id;     // a USBRelay board's own ID, when it could be read
    IoResult access;    // how opening the board to read its ID went
};

struct HidBoardPick {
    int index = -1; // into the list, or -1 with the reason below
    IoResult io;    // the reason; io.error is an errno when the system gave it
    std::string fix;

    bool found() const { return index >= 0; }
};

// `selector` as in BoardChoice: empty for the first board (the list is in
// device order), a device path (compared as given: resolve links first), or
// an ID or serial number that must name exactly one board.
HidBoardPick pickHidBoard(const std::vector<HidBoardInfo>& boards, const std::string& selector);

// The --board value that selects boards[index] among these: by its ID or
// serial where no other board shares it, else by its device.
BoardChoice choiceForHidBoard(const std::vector<HidBoardInfo>& boards, std::size_t index);

} // namespace platform::relay
