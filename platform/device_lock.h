#pragma once
// Keeps a relay board to one program at a time. A backend holds the board's
// lock for as long as it has the board open; the system drops it when the
// holder lets go or ends. On Linux the lock is flock's on the device, and the
// holder is found in /proc (platform/linux/device_lock.h); on Windows it is a
// named mutex per device, whose holder is not known.

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// A running process, as the system names it.
struct DeviceUser {
    long pid = 0;
    std::string name; // e.g. "kavo-panel"
};

// "in use by another program (kavo-panel, pid 4242)"; without the
// parenthesis when the holder could not be found.
std::string inUseReason(const std::optional<DeviceUser>& user);
inline constexpr const char* InUseFix = "Close the other program, or use another board.";

// The lock on the board at `path` (a device a library opens itself, as hidapi
// does), taken without waiting; destruction releases it.
class DeviceLock {
  public:
    explicit DeviceLock(const std::string& path);
    ~DeviceLock();
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

    // The errno of a failed open, else 0.
    int openError() const { return openError_; }
    // Whether another program holds the lock, and who, where that is known.
    bool refused() const { return refused_; }
    const std::optional<DeviceUser>& holder() const { return holder_; }

  private:
    std::intptr_t handle_ = -1; // the locked descriptor or handle; -1 for none
    int openError_ = 0;
    bool refused_ = false;
    std::optional<DeviceUser> holder_;
};

} // namespace platform
