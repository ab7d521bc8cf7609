#include "port_in_use.h"

#include "platform/device_lock.h"

namespace platform {

// Windows opens a COM port for one program at a time and answers any other
// with "access denied"; it does not say which program has it.
std::optional<std::string> serialPortInUse(const std::string&) {
    return inUseReason(std::nullopt);
}

} // namespace platform
