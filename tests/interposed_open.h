#pragma once
// What the stand-in libraries share. A stand-in defines openAny() in an
// unnamed namespace and includes this file once; the file then defines the
// entry points through which a program opens files (open, open64 and their
// fortified twins), all routed to openAny().
//
// Everything here has internal linkage: two stand-ins preloaded together
// must each reach their own, not the one loaded first.

#include <cstdarg>
#include <dlfcn.h>
#include <fcntl.h>

namespace {

// The definition of a C library function that comes after the stand-in's own.
template <typename Fn> Fn nextDefinition(const char* name) {
    return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

using OpenFn = int (*)(const char*, int, ...);
OpenFn realOpen() {
    static const OpenFn fn = nextDefinition<OpenFn>("open");
    return fn;
}

// Opens `path` with the C library's open(); `args` holds the mode when the
// flags say that one comes.
int openFile(const char* path, int flags, va_list args) {
    if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE)
        return realOpen()(path, flags, va_arg(args, mode_t));
    return realOpen()(path, flags);
}

// The stand-in's own: opens what it stands in for, and anything else with
// openFile().
int openAny(const char* path, int flags, va_list args);

} // namespace

extern "C" {

int open(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const int fd = openAny(path, flags, args);
    va_end(args);
    return fd;
}

int open64(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const int fd = openAny(path, flags, args);
    va_end(args);
    return fd;
}

// What fortified callers use when they pass no mode.
int __open_2(const char* path, int flags) {
    return open(path, flags);
}
int __open64_2(const char* path, int flags) {
    return open(path, flags);
}

} // extern "C"
