// Built without QtDBus: the panel offers nothing on a bus, and the board's
// device lock alone keeps a second panel off it.
#include "session_bus.h"

bool claimBoardOnSessionBus(const std::string&, std::ostream&) {
    return true;
}

std::unique_ptr<QObject> offerOnSessionBus(ui::Form1&, const std::string&, std::ostream&) {
    return nullptr;
}
