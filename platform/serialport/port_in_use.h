#pragma once
// Why QSerialPort refused a port with a permission error, when that is
// because another program holds it. One file per system: on Linux the lock
// file or /proc names the holder; on Windows a port is opened exclusively, so
// a refused port is one in use, by a program the system does not name.

#include <optional>
#include <string>

namespace platform {

// "in use by another program (minicom, pid 4242)" for the serial port
// `device`, or nothing when no other program is known to hold it.
std::optional<std::string> serialPortInUse(const std::string& device);

} // namespace platform
