#include "iodll_port.h"

#include <bit>
#include <string>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace platform {
namespace {

// The system's own words for a Windows error code, without the trailing line break.
std::string systemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length ? std::string(text, length) : "error " + std::to_string(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == '.' || message.back() == ' '))
        message.pop_back();
    return message;
}

} // namespace

IoDllPort::IoDllPort(std::string library, std::string fallback)
    : library_(std::move(library)), fallback_(std::move(fallback)) {}

IoDllPort::~IoDllPort() {
    unbind();
}

core::PortStatus IoDllPort::PortOut(std::uint16_t port, std::uint8_t value) {
    if (!portOut_ && !out32_) {
        core::PortStatus bound = bind();
        if (!bound.ok)
            return bound;
    }
    if (portOut_)
        portOut_(static_cast<short>(port), static_cast<char>(value));
    else
        out32_(static_cast<short>(port), static_cast<short>(value));
    return core::PortStatus::success(bound_);
}

core::PortStatus IoDllPort::bind() {
    std::string library = library_;
    const char* function = "PortOut";
    HMODULE module = LoadLibraryA(library.c_str());
    if (!module) {
        // What the user hears about is IO.DLL, the library the board's
        // instructions name, unless the fallback is there but broken.
        const DWORD error = GetLastError();
        if (fallback_.empty() || !(module = LoadLibraryA(fallback_.c_str())))
            return core::PortStatus::failure(
                library_, systemMessage(error),
                "Copy " + library_ + (fallback_.empty() ? "" : " or " + fallback_) +
                    " next to the program or into the Windows system folder.");
        library = fallback_;
        function = "Out32";
    }
    const FARPROC proc = GetProcAddress(module, function);
    if (!proc) {
        const DWORD error = GetLastError();
        FreeLibrary(module);
        return core::PortStatus::failure(
            library, std::string(function) + ": " + systemMessage(error),
            "Replace " + library + " with a version that has " + function + ".");
    }
    module_ = module;
    bound_ = library;
    if (library == library_)
        portOut_ = std::bit_cast<PortOutFn>(proc);
    else
        out32_ = std::bit_cast<Out32Fn>(proc);
    return core::PortStatus::success(bound_);
}

void IoDllPort::unbind() {
    if (module_)
        FreeLibrary(static_cast<HMODULE>(module_));
    module_ = nullptr;
    portOut_ = nullptr;
    out32_ = nullptr;
}

} // namespace platform
