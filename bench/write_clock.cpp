// Preloaded ahead of a port stand-in, this stamps every write that reaches
// the "board" with CLOCK_MONOTONIC (one line of nanoseconds a write, in the
// file named by KAVO_WRITE_CLOCK_FILE), then lets the stand-in take it. The
// benchmark compares the stamps with its own clock, which is the same one.
// Writes are a parallel port's PPWDATA and a USB HID board's feature report.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>

namespace {

using IoctlFn = int (*)(int, unsigned long, ...);

bool isWrite(unsigned long request) {
    const bool hidSetFeature = _IOC_TYPE(request) == 'H' && _IOC_NR(request) == 0x06;
    return request == PPWDATA || hidSetFeature;
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

} // namespace

extern "C" int ioctl(int fd, unsigned long request, ...) noexcept {
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    static const auto next = reinterpret_cast<IoctlFn>(dlsym(RTLD_NEXT, "ioctl"));
    const int result = next(fd, request, arg);
    if (result >= 0 && isWrite(request))
        stamp();
    return result;
}
