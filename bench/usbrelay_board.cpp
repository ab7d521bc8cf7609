// Preloaded with the USB HID stand-in, this plugs one four-relay USBRelay
// board into it as the program starts, with the ID in KAVO_BENCH_BOARD_ID,
// so that any hidapi program (the panel, usbrelay's daemon) finds it.
#include "platform/hidraw_shim.h"

#include <cstdlib>

namespace {

__attribute__((constructor)) void plugBoard() {
    const char* id = std::getenv("KAVO_BENCH_BOARD_ID");
    if (id && *id)
        hidraw_shim_plug(HIDRAW_SHIM_USBRELAY, 4, id, "bench");
}

} // namespace
