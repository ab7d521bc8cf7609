#include "ioport_port.h"

#include "platform/device_error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#endif

namespace platform {
namespace {

std::string portName(std::uint16_t port) {
    char name[32];
    std::snprintf(name, sizeof name, "I/O port 0x%x", static_cast<unsigned>(port));
    return name;
}

} // namespace

IoPortPort::IoPortPort(std::uint16_t base) : base_(base) {}

#if defined(__x86_64__) || defined(__i386__)

core::PortStatus IoPortPort::PortOut(std::uint16_t port, std::uint8_t value) {
    if (port != base_)
        return core::PortStatus::failure(portName(port),
                                         "this backend only drives " + portName(base_), {});
    if (!permitted_) {
        if (::ioperm(base_, 1, 1) != 0) {
            const int error = errno;
            return core::PortStatus::failure(
                portName(base_), std::strerror(error),
                deviceFix(DeviceKind::DirectPort, error, DeviceStep::Opening));
        }
        permitted_ = true;
    }
    ::outb(value, base_);
    return core::PortStatus::success(portName(base_));
}

#else

core::PortStatus IoPortPort::PortOut(std::uint16_t, std::uint8_t) {
    return core::PortStatus::failure(portName(base_),
                                     "direct port access exists only on x86 computers",
                                     "Load the ppdev module (sudo modprobe ppdev).");
}

#endif

} // namespace platform
