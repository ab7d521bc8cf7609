#include "board_choice.h"

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
        last = "usb-hid:/dev/hidrawN";
    }
    if (builtIn.serial) {
        if (!last.empty())
            values += ", " + last;
        last = "serial:/dev/ttyUSBN";
    }
    return last.empty() ? values : values + " or " + last;
}

BoardChoiceParse failure(std::string error) {
    return {std::nullopt, std::move(error)};
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

} // namespace

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
                           "usb-hid:/dev/hidraw0");
        return {BoardChoice{BoardKind::UsbHid, std::string(selector)}, {}};
    }
    if (kind == "serial" && !builtIn.serial)
        return failure("this build drives no serial relay boards: use " + values);
    if (kind == "serial") {
        if (selector.empty())
            return failure("the serial board needs its device, e.g. serial:/dev/ttyUSB0");
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
