// Preloaded into a program, stands in for a machine with no parallel port:
// every /dev/parport* device is missing and direct port I/O is refused. The
// program's real port code runs and fails as it would there, and no real port
// is ever written. Preloaded after the ppdev stand-in, it leaves the
// stand-in's device alone and guards every other port.

#undef _FORTIFY_SOURCE // fortified headers would redefine open() inline
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>

#include "../interposed_open.h"

namespace {

bool isParallelPort(const char* path) {
    static constexpr char prefix[] = "/dev/parport";
    return path && std::strncmp(path, prefix, sizeof prefix - 1) == 0;
}

int missing() {
    errno = ENOENT;
    return -1;
}

// The mode argument is there only when a file may be created.
mode_t modeOf(int flags, va_list args) {
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(args, mode_t) : 0;
}

using OpenAtFn = int (*)(int, const char*, int, ...);

} // namespace

namespace {
int openAny(const char* path, int flags, va_list args) {
    if (isParallelPort(path))
        return missing();
    return openFile(path, flags, args);
}
} // namespace

extern "C" {

int openat(int dir, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    if (isParallelPort(path))
        return missing();
    static const auto real = nextDefinition<OpenAtFn>("openat");
    return real(dir, path, flags, mode);
}

int ioperm(unsigned long, unsigned long, int) {
    errno = EPERM;
    return -1;
}

int iopl(int) {
    errno = EPERM;
    return -1;
}

} // extern "C"
