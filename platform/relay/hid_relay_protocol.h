#pragma once
// The USB HID relay boards the panel drives, and their command sets.
//
// - "USBRelayN" boards (V-USB, vendor 16c0 product 05df, product string
//   USBRelay1..USBRelay8): one 8-byte feature report without report number.
//   Sending FF n switches relay n on, FD n off, FE all on, FC all off.
//   Reading it gives the board's 5-character ID in bytes 0..4 and its relay
//   state in byte 7 (relay 1 = bit 0).
// - "HIDRelay" boards (CH551G, vendor 0519 product 2018): one output report
//   byte, F0+n switches relay n on, 00+n off, F9 all on, 09 all off. The
//   board does not say how many relays it has nor which are on.
// - LCUS HID boards (vendor 5131 product 2007): an output report carrying the
//   LCUS serial frame A0 n s sum (see lcus_protocol.h). Write-only.

#include "relay_board.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform::relay {

enum class HidBoardFamily { UsbRelay, HidRelay, LcusHid };

struct HidBoardModel {
    HidBoardFamily family = HidBoardFamily::UsbRelay;
    int relays = 0;   // on the board, or the most the family has when it cannot tell
    std::string name; // e.g. "USBRelay4"
};

inline constexpr std::uint16_t UsbRelayVendor = 0x16c0, UsbRelayProduct = 0x05df;
inline constexpr std::uint16_t HidRelayVendor = 0x0519, HidRelayProduct = 0x2018;
inline constexpr std::uint16_t LcusHidVendor = 0x5131, LcusHidProduct = 0x2007;

// Which board a HID device is, from its ids and product string; nothing for
// any other device (16c0:05df is shared by every V-USB HID gadget, so the
// product string decides there).
std::optional<HidBoardModel> identifyHidBoard(std::uint16_t vendor, std::uint16_t product,
                                              std::string_view productString);

// A USBRelay board's feature report, report number first (9 bytes).
struct UsbRelayStatus {
    std::string id; // empty when the bytes are not a printable ID
    std::uint8_t relays = 0;
};
inline constexpr std::size_t UsbRelayReportSize = 9;
std::optional<UsbRelayStatus> parseUsbRelayStatus(std::span<const std::uint8_t> report);
// Reads the report; a board that answers with something else fails.
IoResult readUsbRelayStatus(HidTransport& transport, UsbRelayStatus& status);

std::unique_ptr<RelayBoard> makeHidRelayBoard(const HidBoardModel& model, HidTransport& transport);

} // namespace platform::relay
