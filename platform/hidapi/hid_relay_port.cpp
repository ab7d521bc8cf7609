#include "hid_relay_port.h"

#include "hidapi_transport.h"
#include "platform/device_error.h"
#include "platform/device_lock.h"
#include "platform/relay/hid_boards.h"
#include "platform/relay/relay_switcher.h"

#include "core/channels.h"

#include <cerrno>
#include <cstring>

namespace platform {

struct HidRelayPort::Session {
    std::string selector;
    std::string spelled;              // the selector as --board spells it
    std::string device;               // the board's device once one is picked, else `spelled`
    std::unique_ptr<DeviceLock> lock; // held while the board is open
    std::unique_ptr<HidapiTransport> transport;
    std::unique_ptr<relay::RelayBoard> board;
    std::unique_ptr<relay::RelaySwitcher> switcher;

    void close() {
        switcher.reset();
        board.reset();
        transport.reset();
        lock.reset();
    }

    // Takes `io` by value: it may belong to the transport that close() ends.
    // Without a fix of its own, the error's is given.
    core::PortStatus fail(relay::IoResult io, DeviceStep step, std::string fix = {}) {
        close();
        if (fix.empty())
            fix = deviceFix(DeviceKind::HidBoard, io.error, step);
        return core::PortStatus::failure(device, io.message, fix);
    }

    core::PortStatus bind() {
        device = spelled;
        const bool byDevice = relay::isDevicePath(selector);
        const bool byName = !selector.empty() && !byDevice;
        const std::vector<relay::HidBoardInfo> boards = findHidBoards(byName);
        const relay::HidBoardPick pick =
            relay::pickHidBoard(boards, byDevice ? canonicalDevicePath(selector) : selector);
        if (!pick.found())
            return fail(pick.io, DeviceStep::Opening, pick.fix);
        const relay::HidBoardInfo& chosen = boards[static_cast<std::size_t>(pick.index)];
        device = chosen.path;
        // Neither hidraw nor Windows opens a HID device exclusively: without
        // the lock a second panel's start-up write would switch off what the
        // first one shows as on.
        lock = std::make_unique<DeviceLock>(chosen.path);
        if (const int error = lock->openError())
            return fail(relay::IoResult::failure(error, std::strerror(error)), DeviceStep::Opening);
        if (lock->refused())
            return fail(relay::IoResult::failure(EBUSY, inUseReason(lock->holder())),
                        DeviceStep::Opening);
        transport = std::make_unique<HidapiTransport>(chosen.path);
        if (!transport->ok())
            return fail(transport->openResult(), DeviceStep::Opening);
        board = relay::makeHidRelayBoard(chosen.model, *transport);
        switcher = std::make_unique<relay::RelaySwitcher>(*board);
        return core::PortStatus::success(device);
    }

    core::PortStatus write(std::uint8_t value) {
        if (!switcher) {
            core::PortStatus bound = bind();
            if (!bound.ok)
                return bound;
        }
        const relay::SwitchResult result = switcher->apply(value);
        switch (result.outcome) {
        case relay::SwitchResult::Outcome::Done:
            return core::PortStatus::success(device);
        case relay::SwitchResult::Outcome::Failed:
            return fail(result.io, DeviceStep::Using);
        case relay::SwitchResult::Outcome::Mismatch:
            return fail(relay::IoResult::failure(0, result.describeMismatch(board->relayCount())),
                        DeviceStep::Using,
                        "Check the board's power and USB cable; a relay that does not follow "
                        "may be worn out.");
        }
        return fail(relay::IoResult::failure(EIO, "unknown outcome"), DeviceStep::Using);
    }
};

HidRelayPort::HidRelayPort(std::string selector) : session_(std::make_unique<Session>()) {
    session_->spelled = selector.empty() ? "usb-hid" : "usb-hid:" + selector;
    session_->device = session_->spelled;
    session_->selector = std::move(selector);
}

HidRelayPort::~HidRelayPort() {
    session_->close();
}

core::PortStatus HidRelayPort::PortOut(std::uint16_t, std::uint8_t value) {
    return session_->write(value);
}

core::OutputsRead HidRelayPort::ReadOutputs() {
    Session& s = *session_;
    if (!s.switcher) {
        const core::PortStatus bound = s.bind();
        if (!bound.ok)
            return {true, bound, 0};
    }
    if (!s.board->reportsRelays())
        return {false, core::PortStatus::success(s.device), 0};
    std::uint8_t relays = 0;
    if (const relay::IoResult io = s.board->readRelays(relays); !io.ok)
        return {true, s.fail(io, DeviceStep::Using), 0};
    s.switcher->adopt(relays);
    return {true, core::PortStatus::success(s.device),
            static_cast<std::uint8_t>(relays & core::AllOnValue)};
}

} // namespace platform
