#pragma once
// What the libraries that take over ioctl() share. One defines ioctlAny() in
// an unnamed namespace and includes this file once; the file then defines
// ioctl(), which hands the request's one argument to ioctlAny(), and
// realIoctl(), the next definition along (the C library's, or the next
// preloaded library's).
//
// Everything here but ioctl() itself has internal linkage, as in
// interposed_open.h.

#include <cstdarg>
#include <dlfcn.h>
#include <sys/ioctl.h>

namespace {

using IoctlFn = int (*)(int, unsigned long, ...);
IoctlFn realIoctl() {
    static const auto fn = reinterpret_cast<IoctlFn>(dlsym(RTLD_NEXT, "ioctl"));
    return fn;
}

// The library's own: handles the request or passes it on to realIoctl().
int ioctlAny(int fd, unsigned long request, void* arg);

} // namespace

// The requests that come here pass at most one argument: a pointer, or a
// number read as one.
extern "C" int ioctl(int fd, unsigned long request, ...) noexcept {
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    return ioctlAny(fd, request, arg);
}
