#include "clock_text.h"

namespace scheduler {
namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

int twoDigits(std::string_view text, std::size_t at) {
    const char hi = text[at], lo = text[at + 1];
    if (hi < '0' || hi > '9' || lo < '0' || lo > '9')
        return -1;
    return (hi - '0') * 10 + (lo - '0');
}

} // namespace

std::string clockText(std::int64_t localMsecs) {
    const std::int64_t second = floorDiv(localMsecs, MsPerSecond);
    const auto ofDay = static_cast<int>(second - floorDiv(second, SecondsPerDay) * SecondsPerDay);
    const int parts[] = {ofDay / 3600, ofDay / 60 % 60, ofDay % 60};
    std::string text = "00:00:00";
    for (std::size_t i = 0; i < 3; ++i) {
        text[i * 3] = static_cast<char>('0' + parts[i] / 10);
        text[i * 3 + 1] = static_cast<char>('0' + parts[i] % 10);
    }
    return text;
}

std::optional<int> secondOfDay(std::string_view text) {
    if (text.size() != 8 || text[2] != ':' || text[5] != ':')
        return std::nullopt;
    const int h = twoDigits(text, 0), m = twoDigits(text, 3), s = twoDigits(text, 6);
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59)
        return std::nullopt;
    return h * 3600 + m * 60 + s;
}

bool dueBetween(std::string_view text, std::int64_t fromMsecs, std::int64_t toMsecs) {
    const auto target = secondOfDay(text);
    return target && dueBetween(*target, fromMsecs, toMsecs);
}

bool dueBetween(int target, std::int64_t fromMsecs, std::int64_t toMsecs) {
    const std::int64_t to = floorDiv(toMsecs, MsPerSecond);
    std::int64_t from = floorDiv(fromMsecs, MsPerSecond);
    if (to < from)
        from = to;
    if (to - from + 1 >= SecondsPerDay)
        return true; // every time of day was passed
    const std::int64_t fromOfDay = from - floorDiv(from, SecondsPerDay) * SecondsPerDay;
    const std::int64_t ahead = (target - fromOfDay + SecondsPerDay) % SecondsPerDay;
    return ahead <= to - from;
}

} // namespace scheduler
