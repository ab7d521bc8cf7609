#include "serial_relay_port.h"

#include "platform/device_error.h"
#include "platform/relay/lcus_protocol.h"
#include "platform/relay/relay_switcher.h"

namespace platform {

SerialRelayPort::SerialRelayPort(std::string device, std::chrono::milliseconds flushWait)
    : device_(std::move(device)), flushWait_(flushWait) {}

SerialRelayPort::~SerialRelayPort() {
    close();
}

core::PortStatus SerialRelayPort::PortOut(std::uint16_t, std::uint8_t value) {
    if (!switcher_) {
        core::PortStatus bound = bind();
        if (!bound.ok)
            return bound;
    }
    const relay::SwitchResult result = switcher_->apply(value);
    if (!result.ok())
        return fail(core::PortStatus::failure(
            device_, result.io.message,
            deviceFix(DeviceKind::SerialBoard, result.io.error, DeviceStep::Using)));
    return core::PortStatus::success(device_);
}

core::PortStatus SerialRelayPort::bind() {
    line_ = makeSerialLine(flushWait_);
    if (core::PortStatus opened = line_->open(device_); !opened.ok)
        return fail(std::move(opened));
    board_ = std::make_unique<relay::LcusSerialBoard>(*line_);
    switcher_ = std::make_unique<relay::RelaySwitcher>(*board_);
    return core::PortStatus::success(device_);
}

core::PortStatus SerialRelayPort::fail(core::PortStatus status) {
    close();
    return status;
}

void SerialRelayPort::close() {
    switcher_.reset();
    board_.reset();
    line_.reset();
}

} // namespace platform
