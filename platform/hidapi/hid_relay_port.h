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
// Every call blocks until the kernel is done with it (seconds, for a board
// that hangs): the panel drives it from its device thread.

#include "hidapi_transport.h"

#include "core/port_output.h"

#include <memory>
#include <string>

namespace platform {

class HidRelayPort : public core::PortOutput {
  public:
    // `selector` as in --board=usb-hid[:SELECTOR].
    explicit HidRelayPort(std::string selector);
    ~HidRelayPort() override;
    HidRelayPort(const HidRelayPort&) = delete;
    HidRelayPort& operator=(const HidRelayPort&) = delete;

    // The board is the port, so `port` is not looked at.
    core::PortStatus PortOut(std::uint16_t port, std::uint8_t value) override;
    // A USBRelay board tells its relays; the other families cannot.
    core::OutputsRead ReadOutputs() override;

  private:
    struct Session;

    HidapiLibrary library_; // outlives the session's device
    std::unique_ptr<Session> session_;
};

} // namespace platform
