#include "ppdev_port.h"

#include "device_lock.h"
#include "platform/device_error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace platform {
namespace {

// No port behind the path at all, as opposed to a port refused to us.
bool isMissing(PpdevPort::Step step, int error) {
    using Step = PpdevPort::Step;
    if (error == ENOENT || error == ENODEV)
        return true;
    return error == ENXIO && step != Step::Claim;
}

// The driver refuses an exclusive claim with ENXIO while anything else is
// registered on the port: the printer driver, or another program's claim.
// That port exists and must not be gone around.
bool isRefused(PpdevPort::Step step, int error) {
    using Step = PpdevPort::Step;
    return (step == Step::Claim && error == ENXIO) || (step != Step::Open && error == EBUSY);
}

} // namespace

PpdevPort::PpdevPort(std::string devicePath, std::string printerDriver)
    : path_(std::move(devicePath)), printerDriver_(std::move(printerDriver)) {}

PpdevPort::~PpdevPort() {
    unbind();
}

core::PortStatus PpdevPort::PortOut(std::uint16_t, std::uint8_t value) {
    if (fd_ < 0) {
        core::PortStatus bound = bind();
        if (!bound.ok)
            return bound;
    }
    unsigned char byte = value;
    if (::ioctl(fd_, PPWDATA, &byte) != 0)
        return fail(Step::Write, errno);
    missing_ = false;
    return core::PortStatus::success(path_);
}

core::PortStatus PpdevPort::bind() {
    // Non-blocking so a port held elsewhere cannot stall the user interface.
    fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0)
        return fail(Step::Open, errno);
    // Another panel on this port holds its lock: say who, before claiming.
    if (!lockDevice(fd_)) {
        const std::optional<DeviceUser> holder = lockHolder(fd_);
        unbind();
        missing_ = false;
        return core::PortStatus::failure(path_, inUseReason(holder), InUseFix);
    }
    // Exclusive first: a plain PPCLAIM sleeps while another driver (lp) is
    // registered on the port, whereas an exclusive claim is refused at once.
    if (::ioctl(fd_, PPEXCL) != 0)
        return fail(Step::Exclusive, errno);
    if (::ioctl(fd_, PPCLAIM) != 0)
        return fail(Step::Claim, errno);
    claimed_ = true;
    return core::PortStatus::success(path_);
}

core::PortStatus PpdevPort::fail(Step step, int error) {
    core::PortStatus status =
        isRefused(step, error)
            ? refusal()
            : core::PortStatus::failure(
                  path_, std::strerror(error),
                  deviceFix(DeviceKind::Parport, error,
                            step == Step::Open ? DeviceStep::Opening : DeviceStep::Using));
    unbind();
    missing_ = isMissing(step, error);
    return status;
}

core::PortStatus PpdevPort::refusal() const {
    // Still open here, so the device is known however it was reached.
    struct stat device {};
    if (::fstat(fd_, &device) == 0) {
        if (const std::optional<DeviceUser> user = otherUser(device))
            return core::PortStatus::failure(path_, inUseReason(user), InUseFix);
    }
    if (::access(printerDriver_.c_str(), F_OK) == 0)
        return core::PortStatus::failure(path_, "held by the printer driver lp",
                                         "Unload it: sudo rmmod lp.");
    return core::PortStatus::failure(
        path_, "held by another driver or program",
        "Close the program that uses the port, or unload the driver that "
        "holds it (lsmod lists the loaded drivers).");
}

void PpdevPort::unbind() {
    if (claimed_)
        ::ioctl(fd_, PPRELEASE);
    claimed_ = false;
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

} // namespace platform
