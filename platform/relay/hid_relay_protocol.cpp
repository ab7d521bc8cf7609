#include "hid_relay_protocol.h"
#include "lcus_protocol.h"

#include <algorithm>
#include <array>
#include <cerrno>

namespace platform::relay {
namespace {

constexpr std::string_view UsbRelayPrefix = "USBRelay";
constexpr std::string_view HidRelayName = "HIDRelay";

// Report number 0 (the boards have no numbered reports), then the data.
template <std::size_t N> using Report = std::array<std::uint8_t, N>;

class UsbRelayBoard : public RelayBoard {
  public:
    UsbRelayBoard(HidTransport& transport, int relays) : transport_(transport), relays_(relays) {}
    int relayCount() const override { return relays_; }
    IoResult setRelay(int relay, bool on) override {
        return send(on ? 0xFF : 0xFD, static_cast<std::uint8_t>(relay));
    }
    bool hasAllRelaysCommand() const override { return true; }
    IoResult setAllRelays(bool on) override { return send(on ? 0xFE : 0xFC, 0); }
    bool reportsRelays() const override { return true; }
    IoResult readRelays(std::uint8_t& state) override {
        UsbRelayStatus status;
        IoResult io = readUsbRelayStatus(transport_, status);
        state = status.relays;
        return io;
    }

  private:
    IoResult send(std::uint8_t command, std::uint8_t relay) {
        const Report<UsbRelayReportSize> report{0, command, relay};
        return transport_.sendFeatureReport(report);
    }

    HidTransport& transport_;
    int relays_;
};

class HidRelayBoard : public RelayBoard {
  public:
    explicit HidRelayBoard(HidTransport& transport) : transport_(transport) {}
    int relayCount() const override { return 8; }
    IoResult setRelay(int relay, bool on) override {
        return send(static_cast<std::uint8_t>((on ? 0xF0 : 0x00) + relay));
    }
    bool hasAllRelaysCommand() const override { return true; }
    IoResult setAllRelays(bool on) override { return send(on ? 0xF9 : 0x09); }

  private:
    IoResult send(std::uint8_t command) {
        const Report<9> report{0, command};
        return transport_.writeOutputReport(report);
    }

    HidTransport& transport_;
};

class LcusHidBoard : public RelayBoard {
  public:
    explicit LcusHidBoard(HidTransport& transport) : transport_(transport) {}
    int relayCount() const override { return LcusRelays; }
    IoResult setRelay(int relay, bool on) override {
        const auto frame = lcusFrame(relay, on);
        const Report<5> report{0, frame[0], frame[1], frame[2], frame[3]};
        return transport_.writeOutputReport(report);
    }

  private:
    HidTransport& transport_;
};

} // namespace

std::optional<HidBoardModel> identifyHidBoard(std::uint16_t vendor, std::uint16_t product,
                                              std::string_view productString) {
    if (vendor == UsbRelayVendor && product == UsbRelayProduct) {
        // "USBRelay" and one digit, 1 to 8.
        if (productString.size() != UsbRelayPrefix.size() + 1 ||
            productString.substr(0, UsbRelayPrefix.size()) != UsbRelayPrefix)
            return std::nullopt;
        const int relays = productString.back() - '0';
        if (relays < 1 || relays > 8)
            return std::nullopt;
        return HidBoardModel{HidBoardFamily::UsbRelay, relays, std::string(productString)};
    }
    if (vendor == HidRelayVendor && product == HidRelayProduct && productString == HidRelayName)
        return HidBoardModel{HidBoardFamily::HidRelay, 8, std::string(HidRelayName)};
    // These boards carry no strings at all.
    if (vendor == LcusHidVendor && product == LcusHidProduct)
        return HidBoardModel{HidBoardFamily::LcusHid, LcusRelays, "LCUS HID relay"};
    return std::nullopt;
}

std::optional<UsbRelayStatus> parseUsbRelayStatus(std::span<const std::uint8_t> report) {
    if (report.size() < UsbRelayReportSize || report[0] != 0)
        return std::nullopt;
    UsbRelayStatus status;
    status.relays = report[8];
    for (std::size_t i = 1; i <= 5; ++i) {
        if (report[i] <= 0x20 || report[i] >= 0x7F) {
            status.id.clear();
            break;
        }
        status.id += static_cast<char>(report[i]);
    }
    return status;
}

IoResult readUsbRelayStatus(HidTransport& transport, UsbRelayStatus& status) {
    Report<UsbRelayReportSize> report{};
    std::size_t received = 0;
    IoResult io = transport.getFeatureReport(report, received);
    if (!io.ok)
        return io;
    const auto parsed =
        parseUsbRelayStatus(std::span(report).first(std::min(received, report.size())));
    if (!parsed)
        return IoResult::failure(EPROTO, "the board answered with a report of " +
                                             std::to_string(received) +
                                             " bytes instead of its relay state");
    status = *parsed;
    return io;
}

std::unique_ptr<RelayBoard> makeHidRelayBoard(const HidBoardModel& model, HidTransport& transport) {
    switch (model.family) {
    case HidBoardFamily::UsbRelay:
        return std::make_unique<UsbRelayBoard>(transport, model.relays);
    case HidBoardFamily::HidRelay:
        return std::make_unique<HidRelayBoard>(transport);
    case HidBoardFamily::LcusHid:
        return std::make_unique<LcusHidBoard>(transport);
    }
    return nullptr;
}

} // namespace platform::relay
