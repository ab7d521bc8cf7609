// Preloaded with the USB HID stand-in, this plugs one four-relay USBRelay
// board into it as the program starts, with the ID in KAVO_BENCH_BOARD_ID,
// so that any hidapi program (the panel, usbrelay's daemon) finds it.
//
// usbrelay asks for feature report 1; the boards' firmware has no report IDs
// and answers any number with its 8 bytes from the first byte on, where the
// stand-in answers only report 0 and keeps the 0 in front. So report 1 is
// asked as 0 and the answer moved up by one byte, as the board gives it.
#include "interposed_ioctl.h"
#include "platform/hidraw_shim.h"

#include <cstdlib>
#include <cstring>

namespace {

__attribute__((constructor)) void plugBoard() {
    const char* id = std::getenv("KAVO_BENCH_BOARD_ID");
    if (id && *id)
        hidraw_shim_plug(HIDRAW_SHIM_USBRELAY, 4, id, "bench");
}

int ioctlAny(int fd, unsigned long request, void* arg) {
    const bool feature =
        _IOC_TYPE(request) == 'H' && (_IOC_NR(request) == 0x06 || _IOC_NR(request) == 0x07);
    auto* report = static_cast<unsigned char*>(arg);
    const std::size_t size = _IOC_SIZE(request);
    if (!feature || size < 2 || report[0] != 1)
        return realIoctl()(fd, request, arg);
    report[0] = 0;
    const int result = realIoctl()(fd, request, arg);
    if (result > 0 && _IOC_NR(request) == 0x07)
        std::memmove(report, report + 1, size - 1);
    return result;
}

} // namespace
