#pragma once
// A pulse: a channel's ON, then after a while its OFF (a garage door, a gate,
// a bell). How long, as every front end spells it: "500ms", "2s", "1m", "1h".

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace core {

inline constexpr std::chrono::milliseconds ShortestPulse{100};
inline constexpr std::chrono::milliseconds LongestPulse{3600 * 1000};
inline constexpr std::chrono::milliseconds DefaultPulse{1000};

inline bool pulseFits(std::chrono::milliseconds length) {
    return length >= ShortestPulse && length <= LongestPulse;
}

// A whole number with its unit (ms, s, m or h), within ShortestPulse and
// LongestPulse; none for anything else.
std::optional<std::chrono::milliseconds> parsePulse(std::string_view text);

// In the largest unit that keeps it whole, as parsePulse reads it: "500ms", "2s", "1h".
std::string pulseText(std::chrono::milliseconds length);

} // namespace core
