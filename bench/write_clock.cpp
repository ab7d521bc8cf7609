// Preloaded ahead of a port stand-in, this stamps every write that reaches
// the "board" with CLOCK_MONOTONIC (one line of nanoseconds a write, in the
// file named by KAVO_WRITE_CLOCK_FILE), then lets the stand-in take it. The
// benchmark compares the stamps with its own clock, which is the same one.
// Writes are a parallel port's PPWDATA, a USB HID board's feature report, and
// an output report (a plain write() to the stand-in's device, as usbrelay
// switches a board).
#include "interposed_ioctl.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <linux/ppdev.h>
#include <string>
#include <unistd.h>

namespace {

using WriteFn = ssize_t (*)(int, const void*, size_t);

bool isWrite(unsigned long request) {
    const bool hidSetFeature = _IOC_TYPE(request) == 'H' && _IOC_NR(request) == 0x06;
    return request == PPWDATA || hidSetFeature;
}

// The USB HID stand-in's device nodes are files it names after itself.
bool isBoard(int fd) {
    char target[256];
    const ssize_t n =
        ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target - 1);
    return n > 0 && std::string(target, static_cast<std::size_t>(n)).find("kavo-hidraw-shim") !=
                        std::string::npos;
}

void stamp() {
    static FILE* file = [] {
        const char* path = std::getenv("KAVO_WRITE_CLOCK_FILE");
        return path && *path ? std::fopen(path, "a") : nullptr;
    }();
    if (!file)
        return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(file, "%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fflush(file);
}

int ioctlAny(int fd, unsigned long request, void* arg) {
    const int result = realIoctl()(fd, request, arg);
    if (result >= 0 && isWrite(request))
        stamp();
    return result;
}

} // namespace

extern "C" ssize_t write(int fd, const void* data, size_t size) {
    static const auto next = reinterpret_cast<WriteFn>(dlsym(RTLD_NEXT, "write"));
    const ssize_t result = next(fd, data, size);
    if (result > 0 && isBoard(fd))
        stamp();
    return result;
}
