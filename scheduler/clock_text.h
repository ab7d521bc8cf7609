#pragma once
// The fixed "HH:MM:SS" clock text that schedules are compared with, and the
// rule that decides whether a row's time came between two ticks.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace scheduler {

inline constexpr std::int64_t MsPerSecond = 1000;
inline constexpr std::int64_t SecondsPerDay = 86400;

// "HH:MM:SS", 24-hour, leading zeros, for a local time in ms since the epoch.
std::string clockText(std::int64_t localMsecs);

// The second of the day a clock text names, or nothing if `text` is not
// exactly a clock text (two-digit 00-23, 00-59, 00-59, nothing else).
std::optional<int> secondOfDay(std::string_view text);
inline bool isClockText(std::string_view text) {
    return secondOfDay(text).has_value();
}

// True if `text` equals the clock text of some second from the second of
// `fromMsecs` up to and including the second of `toMsecs`. When the clock
// went backwards (to < from) only the second of `toMsecs` counts, so nothing
// that was already passed fires a second time.
bool dueBetween(std::string_view text, std::int64_t fromMsecs, std::int64_t toMsecs);
// The same for the second of the day a clock text names (0..86399).
bool dueBetween(int secondOfDay, std::int64_t fromMsecs, std::int64_t toMsecs);

} // namespace scheduler
