#include "device_lock.h"

namespace platform {

std::string inUseReason(const std::optional<DeviceUser>& user) {
    std::string reason = "in use by another program";
    if (user)
        reason += " (" + user->name + ", pid " + std::to_string(user->pid) + ")";
    return reason;
}

} // namespace platform
