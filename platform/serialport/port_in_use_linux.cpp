#include "port_in_use.h"

#include "platform/linux/device_lock.h"

#include <QDir>

#include <algorithm>
#include <fstream>
#include <unistd.h>

namespace platform {
namespace {

// QSerialPort refuses a port whose lock file names a running process:
// LCK..ttyUSB0 for /dev/ttyUSB0 (other paths with '_' for '/') in the first
// lock directory it can use, the holder's process ID on its first line. A
// program that holds the port open exclusively (TIOCEXCL) without a lock file
// is found in /proc.
std::optional<DeviceUser> portHolder(const std::string& device) {
    if (::access(device.c_str(), W_OK) != 0)
        return std::nullopt; // not ours to open at all
    std::string name = device.rfind("/dev/", 0) == 0 ? device.substr(5) : device;
    std::replace(name.begin(), name.end(), '/', '_');
    const std::string tmp = QDir::tempPath().toStdString();
    for (const char* dir : {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp",
                            "/tmp", "/var/tmp", "/var/lock/lockdev", "/run/lock", tmp.c_str()}) {
        std::ifstream lockFile(std::string(dir) + "/LCK.." + name);
        long pid = 0;
        if (lockFile >> pid) {
            if (std::optional<DeviceUser> holder = processById(pid))
                return holder;
        }
    }
    struct stat port {};
    return ::stat(device.c_str(), &port) == 0 ? otherUser(port) : std::nullopt;
}

} // namespace

std::optional<std::string> serialPortInUse(const std::string& device) {
    if (const std::optional<DeviceUser> holder = portHolder(device))
        return inUseReason(holder);
    return std::nullopt;
}

} // namespace platform
