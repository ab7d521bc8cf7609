// Preloaded ahead of the hidraw stand-in, plugs a four-relay USBRelay board
// into it for each ID in KAVO_TEST_HID_BOARDS (comma-separated) as the
// program starts, and after each request on a HID device writes the
// stand-in's log to KAVO_TEST_HID_LOG, so that a test can read from outside
// what reached the boards.
#include "interposed_ioctl.h"
#include "platform/hidraw_shim.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

__attribute__((constructor)) void plugBoards() {
    const char* ids = std::getenv("KAVO_TEST_HID_BOARDS");
    const std::string list = ids ? ids : "";
    for (std::size_t start = 0; start < list.size();) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string::npos)
            comma = list.size();
        const std::string id = list.substr(start, comma - start);
        if (!id.empty())
            hidraw_shim_plug(HIDRAW_SHIM_USBRELAY, 4, id.c_str(), nullptr);
        start = comma + 1;
    }
}

void saveLog() {
    const char* path = std::getenv("KAVO_TEST_HID_LOG");
    if (!path)
        return;
    if (FILE* file = std::fopen(path, "we")) {
        std::fputs(hidraw_shim_log(), file);
        std::fclose(file);
    }
}

int ioctlAny(int fd, unsigned long request, void* arg) {
    const int result = realIoctl()(fd, request, arg);
    if (_IOC_TYPE(request) == 'H') {
        const int error = errno;
        saveLog();
        errno = error;
    }
    return result;
}

} // namespace
