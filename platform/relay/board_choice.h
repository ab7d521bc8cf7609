#pragma once
// Which relay board the panel drives, as given by --board:
//   parallel              the parallel-port board (the default)
//   auto                  the parallel port if there is one, else the one USB
//                         HID relay board plugged in
//   usb-hid               the first USB HID relay board found
//   usb-hid:SERIAL        the USB HID relay board with this ID or serial number
//   usb-hid:/dev/hidrawN  the USB HID relay board at this device
//   serial:/dev/ttyUSBN   the LCUS relay board on this serial port
// On Windows a HID device is \\?\hid#... and a serial port COM3.

#include <optional>
#include <string>
#include <string_view>

namespace platform::relay {

enum class BoardKind { Parallel, UsbHid, Serial, Auto };

// Whether a usb-hid selector names a device rather than an ID: a path such as
// /dev/hidraw2, or one of Windows's, \\?\hid#vid_16c0&pid_05df#...
inline bool isDevicePath(std::string_view text) {
    return text.starts_with('/') || text.starts_with("\\\\");
}

// The system's own names for a board's device, as the help and the errors
// give them: a pattern (N for a number) and one example of each.
#ifdef _WIN32
inline constexpr std::string_view HidDevicePattern = "\\\\?\\hid#...";
inline constexpr std::string_view HidDeviceExample = HidDevicePattern;
inline constexpr std::string_view SerialPortPattern = "COM3";
inline constexpr std::string_view SerialPortExample = SerialPortPattern;
#else
inline constexpr std::string_view HidDevicePattern = "/dev/hidrawN";
inline constexpr std::string_view HidDeviceExample = "/dev/hidraw0";
inline constexpr std::string_view SerialPortPattern = "/dev/ttyUSBN";
inline constexpr std::string_view SerialPortExample = "/dev/ttyUSB0";
#endif

// Whether two device paths name the same device. Windows's compare without
// case: hidapi's listing and a path typed by hand may differ in it.
bool sameDevicePath(std::string_view a, std::string_view b);

struct BoardChoice {
    BoardKind kind = BoardKind::Parallel;
    // usb-hid: empty (the first board), an ID or a device path;
    // serial: the device path.
    std::string selector;

    // For usb-hid: whether the selector names a device rather than an ID.
    bool selectsDevice() const { return isDevicePath(selector); }
    bool operator==(const BoardChoice&) const = default;
};

struct BoardChoiceParse {
    std::optional<BoardChoice> choice;
    std::string error; // why there is no choice, in one sentence without a full stop
};

// The kinds of board a build drives besides the parallel port, which every
// build drives.
struct BuiltInBoards {
    bool usbHid = true;
    bool serial = true;
};

// A kind of board that is not built in is refused, and the errors offer only
// the values that are.
BoardChoiceParse parseBoardChoice(std::string_view text, BuiltInBoards builtIn = {});

// The --board value that selects `choice`, e.g. "usb-hid:/dev/hidraw2".
std::string boardArgument(const BoardChoice& choice);

} // namespace platform::relay
