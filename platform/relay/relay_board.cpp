#include "relay_board.h"

#include <cerrno>

namespace platform::relay {

IoResult RelayBoard::setAllRelays(bool) {
    return IoResult::failure(ENOTSUP, "this board has no command for all relays");
}

IoResult RelayBoard::readRelays(std::uint8_t&) {
    return IoResult::failure(ENOTSUP, "this board does not report its relays");
}

} // namespace platform::relay
