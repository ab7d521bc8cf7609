#include "lcus_protocol.h"

namespace platform::relay {

std::array<std::uint8_t, 4> lcusFrame(int relay, bool on) {
    const auto number = static_cast<std::uint8_t>(relay);
    const std::uint8_t state = on ? 1 : 0;
    return {0xA0, number, state, static_cast<std::uint8_t>(0xA0 + number + state)};
}

IoResult LcusSerialBoard::setRelay(int relay, bool on) {
    const auto frame = lcusFrame(relay, on);
    return transport_.write(frame);
}

} // namespace platform::relay
