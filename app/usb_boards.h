#pragma once
// The USB relay boards this build drives. For each kind app/CMakeLists.txt
// compiles its file where the kind's library is built in, and its stand-in
// (*_none.cpp) where not: that kind is then not built in, finds no boards and
// opens none.

#include "core/port_output.h"
#include "platform/relay/hid_boards.h"
#include "platform/relay/serial_boards.h"

#include <memory>
#include <string>
#include <vector>

namespace cli {

bool hidBoardsBuiltIn();
// The HID boards plugged in, their IDs read; switches nothing.
std::vector<platform::relay::HidBoardInfo> findHidBoards();
// The device a link such as /dev/hidraw-relay stands for, as boards are listed.
std::string hidDevicePath(const std::string& path);
// The port of the HID board `selector` names; null where not built in.
std::unique_ptr<core::PortOutput> openHidBoard(const std::string& selector);

bool serialBoardsBuiltIn();
std::vector<platform::relay::SerialBoardInfo> findSerialBoards();
// The port of the serial board on `device`; null where not built in.
std::unique_ptr<core::PortOutput> openSerialBoard(const std::string& device);

} // namespace cli
