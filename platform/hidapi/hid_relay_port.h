#pragma once
// The port backend for USB HID relay boards. Like the parallel port it binds
// on the first write: it finds the board the selector names, opens it and
// sets all its relays; afterwards only relays whose bit changed are switched
// and a board that reports its relays is checked after each write. After any
// failure the board is closed and the next write looks for it again, so a
// board that is unplugged and plugged in again recovers. While the board is
// open its device stays locked (platform/device_lock.h): a second panel is
// refused the board, told which program has it where the system says so, and
// gets it on a later write once that program has closed it.
//
// The board is only ever touched on a worker thread, and a write waits for
// it at most `deadline`: a board that hangs is reported, not waited for.

#include "bounded_worker.h"
#include "core/port_output.h"

#include <chrono>
#include <memory>
#include <string>

namespace platform {

class HidRelayPort : public core::PortOutput {
  public:
    static constexpr std::chrono::milliseconds DefaultDeadline{750};

    // `selector` as in --board=usb-hid[:SELECTOR].
    explicit HidRelayPort(std::string selector,
                          std::chrono::milliseconds deadline = DefaultDeadline);
    ~HidRelayPort() override;

    // The board is the port, so `port` is not looked at.
    core::PortStatus PortOut(std::uint16_t port, std::uint8_t value) override;

  private:
    struct Session;

    std::string selector_;
    std::chrono::milliseconds deadline_;
    std::shared_ptr<Session> session_;
    std::string device_;     // as in the last status, for statuses made here
    bool abandoned_ = false; // a write outlived its deadline: start afresh
    BoundedWorker worker_;
};

} // namespace platform
