#include "device_order.h"

#include <utility>

namespace platform::relay {

bool devicePathBefore(std::string_view a, std::string_view b) {
    // A stem and the length of the number that ends it: among equal stems
    // the shorter number is the smaller (leading zeros aside, which device
    // names do not have).
    const auto split = [](std::string_view path) {
        std::size_t digits = path.size();
        while (digits > 0 && path[digits - 1] >= '0' && path[digits - 1] <= '9')
            --digits;
        return std::make_pair(path.substr(0, digits), path.size() - digits);
    };
    const auto [stemA, lengthA] = split(a);
    const auto [stemB, lengthB] = split(b);
    if (stemA != stemB)
        return stemA < stemB;
    if (lengthA != lengthB)
        return lengthA < lengthB;
    return a < b;
}

} // namespace platform::relay
