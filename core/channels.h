#pragma once
// The channel model: how many channels the board has and how each maps onto
// the output byte. Everything per-channel in the program (controls, rows,
// timers, layout) is sized from ChannelCount.

#include <cstdint>

namespace core {

inline constexpr int ChannelCount = 4;

// Weight of channel n (1..ChannelCount): 1, 2, 4, 8, ...; channel n drives bit n-1.
constexpr std::int16_t weight(int channel) {
    return static_cast<std::int16_t>(1 << (channel - 1));
}

// The output value with every channel on.
inline constexpr std::int16_t AllOnValue = static_cast<std::int16_t>((1 << ChannelCount) - 1);

// A 16-bit boolean: true is all bits set. Named so as not to collide with the
// True/False macros of X11 headers.
using Flag = std::int16_t;
inline constexpr Flag TrueFlag = -1;
inline constexpr Flag FalseFlag = 0;

} // namespace core
