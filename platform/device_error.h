#pragma once
// What the user is told to do when a call on a board's device fails with an
// errno. The fix depends on the kind of device (the group or udev rule that
// grants it, what being plugged in means for it) and, for the parallel port,
// on whether the device was being opened or was open already; the reason is
// the system's own words. Every backend asks this one table, so an errno gets
// one answer per kind of device, however it reached the backend.

#include <string>

namespace platform {

enum class DeviceKind {
    Parport,     // /dev/parportN, through ppdev
    DirectPort,  // the parallel port's registers, written directly
    HidBoard,    // a USB HID relay board
    SerialBoard, // a USB serial relay board
};

// A device missing while Opening was never there; while Using, it went away.
enum class DeviceStep { Opening, Using };

// What the user can do about `error`, or empty where there is nothing to say.
std::string deviceFix(DeviceKind kind, int error, DeviceStep step);

// For a fix that sends the user to the boards the panel can see.
inline constexpr const char* ListBoardsHint = "kavo-panel --list-boards lists the boards it finds";

} // namespace platform
