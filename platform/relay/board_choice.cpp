#include "board_choice.h"

#include <algorithm>

namespace platform::relay {
namespace {

// Where serial:NAME finds a bare NAME: /dev/ttyUSB0 for ttyUSB0. Windows names
// its ports as they are (COM3).
#ifdef _WIN32
constexpr std::string_view SerialDeviceDir{};
#else
constexpr std::string_view SerialDeviceDir = "/dev/";
#endif

// The --board values of the kinds built in, for an error message.
std::string valuesOf(BuiltInBoards builtIn) {
    std::string values = "parallel";
    std::string last;
    if (builtIn.usbHid) {
        values += ", usb-hid, usb-hid:SERIAL";
        last = "usb-hid:" + std::string(HidDevicePattern);
    }
    if (builtIn.serial) {
        if (!last.empty())
            values += ", " + last;
        last = "serial:" + std::string(SerialPortPattern);
    }
    return last.empty() ? values : values + " or " + last;
}

BoardChoiceParse failure(std::string error) {
    return {std::nullopt, std::move(error)};
}

// Appended piece by piece: GCC 12 at -O3 takes "\"" + std::string(...) for
// an overlapping copy (-Wrestrict), which it is not.
std::string quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    out += text;
    out += '"';
    return out;
}

} // namespace

bool sameDevicePath(std::string_view a, std::string_view b) {
#ifdef _WIN32
    const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [&](unsigned char x, unsigned char y) { return lower(x) == lower(y); });
#else
    return a == b;
#endif
}

BoardChoiceParse parseBoardChoice(std::string_view text, BuiltInBoards builtIn) {
    const std::string values = valuesOf(builtIn);
    if (text.empty())
        return failure("--board needs " +
                       std::string(builtIn.usbHid || builtIn.serial ? "one of " : "") + values);
    const std::size_t colon = text.find(':');
    const std::string_view kind = text.substr(0, colon);
    const bool hasSelector = colon != std::string_view::npos;
    const std::string_view selector = hasSelector ? text.substr(colon + 1) : std::string_view();

    if (kind == "parallel") {
        if (hasSelector)
            return failure("the parallel board takes nothing after \"parallel\" (got " +
                           quoted(text) + ")");
        return {BoardChoice{BoardKind::Parallel, {}}, {}};
    }
    if (kind == "auto") {
        if (hasSelector)
            return failure("auto takes nothing after \"auto\" (got " + quoted(text) + ")");
        return {BoardChoice{BoardKind::Auto, {}}, {}};
    }
    if (kind == "usb-hid" && !builtIn.usbHid)
        return failure("this build drives no USB HID relay boards: use " + values);
    if (kind == "usb-hid") {
        if (hasSelector && selector.empty())
            return failure("usb-hid: needs a board ID or a device after the colon, e.g. "
                           "usb-hid:" +
                           std::string(HidDeviceExample));
        return {BoardChoice{BoardKind::UsbHid, std::string(selector)}, {}};
    }
    if (kind == "serial" && !builtIn.serial)
        return failure("this build drives no serial relay boards: use " + values);
    if (kind == "serial") {
        if (selector.empty())
            return failure("the serial board needs its device, e.g. serial:" +
                           std::string(SerialPortExample));
        // "serial:ttyUSB0" means the device of that name.
        std::string device(selector);
        if (device.front() != '/')
            device.insert(0, SerialDeviceDir);
        return {BoardChoice{BoardKind::Serial, device}, {}};
    }
    return failure("unknown board " + quoted(text) + ": use " + values);
}

std::string boardArgument(const BoardChoice& choice) {
    switch (choice.kind) {
    case BoardKind::Parallel:
        return "parallel";
    case BoardKind::UsbHid:
        return choice.selector.empty() ? "usb-hid" : "usb-hid:" + choice.selector;
    case BoardKind::Serial:
        return "serial:" + choice.selector;
    case BoardKind::Auto:
        return "auto";
    }
    return {};
}

} // namespace platform::relay
