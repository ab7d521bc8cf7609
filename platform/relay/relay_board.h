#pragma once
// A relay board as the panel sees it: numbered relays that can be switched
// one at a time, on some boards all at once, and on some read back. Each
// board's command set talks to the board through a small transport, so the
// protocols can be checked without the board and the real transports
// (hidapi, a serial port) stay thin.

#include <cstdint>
#include <span>
#include <string>

namespace platform::relay {

// The outcome of one exchange with a board or its transport.
struct IoResult {
    bool ok = true;
    int error = 0;       // errno-style code where the system gave one, else 0
    std::string message; // the system's own words, e.g. "No such device"

    static IoResult success() { return {}; }
    static IoResult failure(int error, std::string message) {
        return {false, error, std::move(message)};
    }
};

// A HID device: reports go out and come in with their report number first,
// as hidapi passes them (0 for a device without numbered reports).
class HidTransport {
  public:
    virtual ~HidTransport() = default;
    virtual IoResult sendFeatureReport(std::span<const std::uint8_t> report) = 0;
    // `report[0]` names the report; on success `received` bytes are filled in,
    // the report number included.
    virtual IoResult getFeatureReport(std::span<std::uint8_t> report, std::size_t& received) = 0;
    virtual IoResult writeOutputReport(std::span<const std::uint8_t> report) = 0;
};

// A serial line to a board that only listens.
class SerialTransport {
  public:
    virtual ~SerialTransport() = default;
    // Queues the bytes for sending.
    virtual IoResult write(std::span<const std::uint8_t> bytes) = 0;
    // Waits, for a short bounded time, until everything queued has left.
    virtual IoResult flush() = 0;
};

class RelayBoard {
  public:
    virtual ~RelayBoard() = default;

    // Relays on the board, 1 to 8; relay n is bit n-1 of a relay state.
    virtual int relayCount() const = 0;
    virtual IoResult setRelay(int relay, bool on) = 0;

    // One command that switches every relay of the board together.
    virtual bool hasAllRelaysCommand() const { return false; }
    virtual IoResult setAllRelays(bool on);

    // Whether the board tells which of its relays are on.
    virtual bool reportsRelays() const { return false; }
    virtual IoResult readRelays(std::uint8_t& state);

    // Called after each batch of commands, before any read-back.
    virtual IoResult finish() { return IoResult::success(); }
};

} // namespace platform::relay
