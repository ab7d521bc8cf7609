#include "board_choice.h"

namespace platform::relay {
namespace {

constexpr std::string_view Values =
    "parallel, usb-hid, usb-hid:SERIAL, usb-hid:/dev/hidrawN or serial:/dev/ttyUSBN";

BoardChoiceParse failure(std::string error) {
    return {std::nullopt, std::move(error)};
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

} // namespace

BoardChoiceParse parseBoardChoice(std::string_view text) {
    if (text.empty())
        return failure("--board needs one of " + std::string(Values));
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
    if (kind == "usb-hid") {
        if (hasSelector && selector.empty())
            return failure("usb-hid: needs a board ID or a device after the colon, e.g. "
                           "usb-hid:/dev/hidraw0");
        return {BoardChoice{BoardKind::UsbHid, std::string(selector)}, {}};
    }
    if (kind == "serial") {
        if (selector.empty())
            return failure("the serial board needs its device, e.g. serial:/dev/ttyUSB0");
        // "serial:ttyUSB0" means the device of that name.
        std::string device(selector);
        if (device.front() != '/')
            device = "/dev/" + device;
        return {BoardChoice{BoardKind::Serial, device}, {}};
    }
    return failure("unknown board " + quoted(text) + ": use " + std::string(Values));
}

std::string boardArgument(const BoardChoice& choice) {
    switch (choice.kind) {
    case BoardKind::Parallel:
        return "parallel";
    case BoardKind::UsbHid:
        return choice.selector.empty() ? "usb-hid" : "usb-hid:" + choice.selector;
    case BoardKind::Serial:
        return "serial:" + choice.selector;
    }
    return {};
}

} // namespace platform::relay
