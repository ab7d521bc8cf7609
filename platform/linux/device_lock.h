#pragma once
// The device lock on Linux: an advisory lock (flock) on the board's device,
// which the kernel drops when the holder closes the device or ends. A program
// that finds the device locked, or otherwise held, learns from /proc who
// holds it, so the user is told which program to close.

#include "platform/device_lock.h"

#include <sys/stat.h>

#include <optional>
#include <string>

namespace platform {

// The process `pid` (its name from /proc/<pid>/comm), or nothing when it has
// gone.
std::optional<DeviceUser> processById(long pid);

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

} // namespace platform
