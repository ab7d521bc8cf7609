#include "pulse.h"

#include <array>
#include <cstdint>
#include <utility>

namespace core {

std::optional<std::chrono::milliseconds> parsePulse(std::string_view text) {
    std::size_t digits = 0;
    std::int64_t number = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9' && digits < 8)
        number = number * 10 + (text[digits++] - '0');
    if (digits == 0)
        return std::nullopt;
    static constexpr std::array<std::pair<std::string_view, std::int64_t>, 4> units{
        {{"ms", 1}, {"s", 1000}, {"m", 60 * 1000}, {"h", 3600 * 1000}}};
    for (const auto& [unit, ms] : units) {
        if (text.substr(digits) != unit)
            continue;
        const std::chrono::milliseconds length{number * ms};
        if (!pulseFits(length))
            return std::nullopt;
        return length;
    }
    return std::nullopt;
}

std::string pulseText(std::chrono::milliseconds length) {
    const auto ms = length.count();
    if (ms > 0 && ms % (3600 * 1000) == 0)
        return std::to_string(ms / (3600 * 1000)) + "h";
    if (ms > 0 && ms % (60 * 1000) == 0)
        return std::to_string(ms / (60 * 1000)) + "m";
    if (ms % 1000 == 0)
        return std::to_string(ms / 1000) + "s";
    return std::to_string(ms) + "ms";
}

} // namespace core
