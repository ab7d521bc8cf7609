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

IoDllPort::IoDllPort(std::string library) : library_(std::move(library)) {}

IoDllPort::~IoDllPort() {
    unbind();
}

core::PortStatus IoDllPort::PortOut(std::uint16_t port, std::uint8_t value) {
    if (!portOut_) {
        core::PortStatus bound = bind();
        if (!bound.ok)
            return bound;
    }
    portOut_(static_cast<short>(port), static_cast<char>(value));
    return core::PortStatus::success(library_);
}

core::PortStatus IoDllPort::bind() {
    HMODULE module = LoadLibraryA(library_.c_str());
    if (!module)
        return core::PortStatus::failure(
            library_, systemMessage(GetLastError()),
            "Copy " + library_ + " next to the program or into the Windows system folder.");
    const FARPROC proc = GetProcAddress(module, "PortOut");
    if (!proc) {
        const DWORD error = GetLastError();
        FreeLibrary(module);
        return core::PortStatus::failure(library_, "PortOut: " + systemMessage(error),
                                         "Replace " + library_ +
                                             " with a version that has PortOut.");
    }
    module_ = module;
    portOut_ = std::bit_cast<PortOutFn>(proc);
    return core::PortStatus::success(library_);
}

void IoDllPort::unbind() {
    if (module_)
        FreeLibrary(static_cast<HMODULE>(module_));
    module_ = nullptr;
    portOut_ = nullptr;
}

} // namespace platform
