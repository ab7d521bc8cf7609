// Built without QtDBus: the panel offers nothing on a bus.
#include "session_bus.h"

std::unique_ptr<QObject> offerOnSessionBus(ui::Form1&, std::ostream&) {
    return nullptr;
}
