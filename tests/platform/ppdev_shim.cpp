// Stands in for a ppdev parallel port device so the real backend code runs
// without hardware. As a shared library the test depends on, its open/ioctl/
// close come before libc's in symbol lookup (and come next after the
// sanitizer's interceptors, which forward with RTLD_NEXT); calls on other
// paths and descriptors go on to libc.

#undef _FORTIFY_SOURCE // fortified headers would redefine open() inline
#include "ppdev_shim.h"
#include "../interposed_ioctl.h"
#include "../interposed_open.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/ppdev.h>
#include <map>
#include <string>
#include <sys/ioctl.h>
#include <sys/mman.h>

namespace {

struct Device {
    bool claimed = false;
};

// Built on first use and never destroyed: other libraries call open() and
// close() before this one's constructors and after its destructors run.
std::map<int, Device>& devices() {
    static auto* open = new std::map<int, Device>;
    return *open;
}
std::string& log() {
    static auto* text = new std::string;
    return *text;
}
ppdev_shim_state state = PPDEV_SHIM_PRESENT;
int opens = 0;

template <typename Fn> Fn next(Fn& cache, const char* name) {
    if (!cache)
        cache = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
    return cache;
}

using CloseFn = int (*)(int);
CloseFn realClose = nullptr;

const char* errorName(int error) {
    switch (error) {
    case ENOENT:
        return "ENOENT";
    case EACCES:
        return "EACCES";
    case ENODEV:
        return "ENODEV";
    case EBUSY:
        return "EBUSY";
    case EINVAL:
        return "EINVAL";
    case ENXIO:
        return "ENXIO";
    default:
        return "ENOTTY";
    }
}

// Preloaded into the real program (the end-to-end test), the shim also
// appends every call to the file named by PPDEV_SHIM_LOG_FILE.
void appendToLogFile(const std::string& entry) {
    const char* path = std::getenv("PPDEV_SHIM_LOG_FILE");
    if (!path || !*path)
        return;
    if (FILE* file = std::fopen(path, "a")) {
        std::fprintf(file, "%s\n", entry.c_str());
        std::fclose(file);
    }
}

void record(const std::string& call, int error = 0) {
    std::string entry = call;
    if (error)
        entry += std::string("!") + errorName(error);
    if (!log().empty())
        log() += ' ';
    log() += entry;
    appendToLogFile(entry);
}

int failWith(const std::string& call, int error) {
    record(call, error);
    errno = error;
    return -1;
}

// PPDEV_SHIM_DEVICE names one more path to stand in for, e.g. /dev/parport0.
bool isDevice(const char* path) {
    if (!path)
        return false;
    if (std::strncmp(path, PPDEV_SHIM_PREFIX, std::strlen(PPDEV_SHIM_PREFIX)) == 0)
        return true;
    const char* extra = std::getenv("PPDEV_SHIM_DEVICE");
    return extra && *extra && std::strcmp(path, extra) == 0;
}

int openDevice(int flags) {
    ++opens;
    switch (state) {
    case PPDEV_SHIM_ABSENT:
        return failWith("open", ENOENT);
    case PPDEV_SHIM_NO_PERMISSION:
        return failWith("open", EACCES);
    case PPDEV_SHIM_VANISHED:
        return failWith("open", ENODEV);
    default:
        break;
    }
    // A real descriptor, so its number can never clash with another file's:
    // a new open file of one file that stands for the device node, so that
    // locks on it behave as on the device. The file is this process's own
    // unless PPDEV_SHIM_BACKING_FILE names one for several to share.
    const char* shared = std::getenv("PPDEV_SHIM_BACKING_FILE");
    static const int node = static_cast<int>(::memfd_create("kavo-ppdev-shim", MFD_CLOEXEC));
    const int fd = shared && *shared ? realOpen()(shared, O_RDWR | O_CREAT | O_CLOEXEC, 0600)
                                     : realOpen()(("/proc/self/fd/" + std::to_string(node)).c_str(),
                                                  O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return failWith("open", errno);
    devices()[fd] = Device{};
    // An inherited descriptor would keep the port claimed in started programs.
    record(flags & O_CLOEXEC ? "open" : "open-inheritable");
    return fd;
}

// Mirrors the ppdev driver's rules: exclusive access only before the claim,
// data only while claimed.
int deviceIoctl(Device& device, unsigned long request, void* arg) {
    switch (request) {
    case PPEXCL:
        if (state == PPDEV_SHIM_VANISHED)
            return failWith("PPEXCL", ENODEV);
        if (state == PPDEV_SHIM_HELD)
            return failWith("PPEXCL", EBUSY);
        if (device.claimed)
            return failWith("PPEXCL", EINVAL);
        record("PPEXCL");
        return 0;
    case PPCLAIM:
        if (state == PPDEV_SHIM_VANISHED)
            return failWith("PPCLAIM", ENODEV);
        if (state == PPDEV_SHIM_CLAIM_REFUSED)
            return failWith("PPCLAIM", ENXIO);
        if (device.claimed)
            return failWith("PPCLAIM", EINVAL);
        device.claimed = true;
        record("PPCLAIM");
        return 0;
    case PPRELEASE:
        if (state == PPDEV_SHIM_VANISHED)
            return failWith("PPRELEASE", ENODEV);
        if (!device.claimed)
            return failWith("PPRELEASE", EINVAL);
        device.claimed = false;
        record("PPRELEASE");
        return 0;
    case PPWDATA: {
        char call[32];
        std::snprintf(call, sizeof call, "PPWDATA=0x%02x", *static_cast<unsigned char*>(arg));
        if (state == PPDEV_SHIM_VANISHED)
            return failWith(call, ENODEV);
        if (!device.claimed)
            return failWith(call, EINVAL);
        record(call);
        return 0;
    }
    default:
        return failWith("ioctl", ENOTTY);
    }
}

} // namespace

namespace {
int openAny(const char* path, int flags, va_list args) {
    if (isDevice(path))
        return openDevice(flags);
    return openFile(path, flags, args);
}

int ioctlAny(int fd, unsigned long request, void* arg) {
    const auto device = devices().find(fd);
    if (device != devices().end())
        return deviceIoctl(device->second, request, arg);
    return realIoctl()(fd, request, arg);
}
} // namespace

extern "C" {

int close(int fd) {
    if (devices().erase(fd))
        record("close");
    return next(realClose, "close")(fd);
}

void ppdev_shim_reset(void) {
    state = PPDEV_SHIM_PRESENT;
    opens = 0;
    log().clear();
}
void ppdev_shim_set_state(enum ppdev_shim_state newState) {
    state = newState;
}
const char* ppdev_shim_log(void) {
    return log().c_str();
}
void ppdev_shim_clear_log(void) {
    log().clear();
}
int ppdev_shim_open_count(void) {
    return opens;
}
int ppdev_shim_open_fds(void) {
    return static_cast<int>(devices().size());
}

} // extern "C"
