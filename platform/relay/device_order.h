#pragma once
// The order boards are listed in: by their devices' numbers, so that
// /dev/hidraw10 comes after /dev/hidraw9 and COM10 after COM3.

#include <string_view>

namespace platform::relay {

// Whether the device `a` is listed before `b`: paths that differ only in a
// trailing number go by that number, the rest as text.
bool devicePathBefore(std::string_view a, std::string_view b);

} // namespace platform::relay
