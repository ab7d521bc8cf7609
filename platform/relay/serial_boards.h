#pragma once
// The serial ports a relay board may be on, as --list-boards shows them.

#include <string>

namespace platform::relay {

// A USB serial port on the chip the LCUS boards use (CH340, 1a86:7523). The
// chip does not tell a relay board from any other CH340 adapter.
struct SerialBoardInfo {
    std::string path; // e.g. /dev/ttyUSB0
    std::string description;
};

} // namespace platform::relay
