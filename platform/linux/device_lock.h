#pragma once
// Keeps a relay board to one program at a time. A backend holds an advisory
// lock (flock) on the board's device for as long as it has the board open;
// the kernel drops it when the holder closes the device or ends. A program
// that finds the device locked, or otherwise held, learns from /proc who
// holds it, so the user is told which program to close.

#include <sys/stat.h>

#include <optional>
#include <string>

namespace platform {

// A running process, as /proc names it.
struct DeviceUser {
    long pid = 0;
    std::string name; // /proc/<pid>/comm, e.g. "kavo-panel"
};

// The process `pid`, or nothing when it has gone.
std::optional<DeviceUser> processById(long pid);

// "in use by another program (kavo-panel, pid 4242)"; without the
// parenthesis when the holder could not be found.
std::string inUseReason(const std::optional<DeviceUser>& user);
inline constexpr const char* InUseFix = "Close the other program, or use another board.";

// Locks the open device `fd` exclusively, without waiting. False only when
// another open file holds the lock; where no lock can be had at all, the
// device is used unlocked.
bool lockDevice(int fd);

// The process that holds an flock lock on the file `fd` refers to (from
// /proc/locks), if any.
std::optional<DeviceUser> lockHolder(int fd);

// A process other than this one that has `file` open (a device counts
// through any of its device nodes), from /proc/*/fd. Only processes whose
// descriptors this one may see are found.
std::optional<DeviceUser> otherUser(const struct stat& file);

// The lock, through a descriptor of its own, on a device that a library
// opens itself (hidapi opens the hidraw device); destruction releases it.
class DeviceLock {
  public:
    explicit DeviceLock(const std::string& path);
    ~DeviceLock();
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

    // The errno of a failed open, else 0.
    int openError() const { return openError_; }
    // Whether another program holds the lock, and who.
    bool refused() const { return refused_; }
    const std::optional<DeviceUser>& holder() const { return holder_; }

  private:
    int fd_ = -1;
    int openError_ = 0;
    bool refused_ = false;
    std::optional<DeviceUser> holder_;
};

} // namespace platform
