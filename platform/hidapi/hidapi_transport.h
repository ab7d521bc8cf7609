#pragma once
// The relay boards' HID transport over hidapi (its hidraw backend on Linux,
// its own on Windows), and finding the boards that are plugged in. Every call
// blocks until the kernel is done with it.

#include "platform/relay/hid_boards.h"
#include "platform/relay/relay_board.h"

#include <string>
#include <vector>

struct hid_device_;

namespace platform {

// hidapi set up (hid_init) while one of these lives, and closed (hid_exit)
// with the last: hidapi's own set-up is not safe from two threads at once.
class HidapiLibrary {
  public:
    HidapiLibrary();
    ~HidapiLibrary();
    HidapiLibrary(const HidapiLibrary&) = delete;
    HidapiLibrary& operator=(const HidapiLibrary&) = delete;
};

class HidapiTransport : public relay::HidTransport {
  public:
    // Opens the device; ok() tells whether that worked and openResult() why not.
    explicit HidapiTransport(const std::string& path);
    ~HidapiTransport() override;
    HidapiTransport(const HidapiTransport&) = delete;
    HidapiTransport& operator=(const HidapiTransport&) = delete;

    bool ok() const { return device_ != nullptr; }
    const relay::IoResult& openResult() const { return opened_; }

    relay::IoResult sendFeatureReport(std::span<const std::uint8_t> report) override;
    relay::IoResult getFeatureReport(std::span<std::uint8_t> report,
                                     std::size_t& received) override;
    relay::IoResult writeOutputReport(std::span<const std::uint8_t> report) override;

  private:
    relay::IoResult failure(int error) const;

    hid_device_* device_ = nullptr;
    relay::IoResult opened_;
};

// The relay boards plugged in, in device order. With `readIds`, each
// USBRelay board is opened to read its ID (and `access` says how that went).
std::vector<relay::HidBoardInfo> findHidBoards(bool readIds);

// `path` with its links resolved, or as it is when it does not exist.
std::string canonicalDevicePath(const std::string& path);

} // namespace platform
