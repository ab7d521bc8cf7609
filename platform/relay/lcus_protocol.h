#pragma once
// The LCUS relay boards (CH340 serial, 9600 8N1; also a HID variant): one
// 4-byte frame per relay, A0 <relay> <0 off | 1 on> <sum of the three bytes
// mod 256>, so relay 1 on is A0 01 01 A2. The boards never answer.

#include "relay_board.h"

#include <array>
#include <cstdint>

namespace platform::relay {

inline constexpr int LcusRelays = 4;
inline constexpr std::int32_t LcusBaudRate = 9600;

std::array<std::uint8_t, 4> lcusFrame(int relay, bool on);

class LcusSerialBoard : public RelayBoard {
  public:
    explicit LcusSerialBoard(SerialTransport& transport) : transport_(transport) {}
    int relayCount() const override { return LcusRelays; }
    IoResult setRelay(int relay, bool on) override;
    IoResult finish() override { return transport_.flush(); }

  private:
    SerialTransport& transport_;
};

} // namespace platform::relay
