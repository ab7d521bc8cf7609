#include "ppdev_port.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace platform {
namespace {

const char* const HeldFix = "Another driver holds the port (often lp): unload it (sudo rmmod lp) "
                            "or close the program that uses it.";

// The driver refuses an exclusive claim with ENXIO while another driver is
// registered on the port; that port exists and must not be gone around.
const char* const HeldByDriver = "held by another driver, e.g. lp";

// No port behind the path at all, as opposed to a port refused to us.
bool isMissing(PpdevPort::Step step, int error) {
    using Step = PpdevPort::Step;
    if (error == ENOENT || error == ENODEV)
        return true;
    return error == ENXIO && step != Step::Claim;
}

std::string fixFor(PpdevPort::Step step, int error) {
    using Step = PpdevPort::Step;
    if (error == EACCES || error == EPERM)
        return "Add your user to the group lp (sudo adduser $USER lp) and log in again.";
    if (step == Step::Exclusive || error == EBUSY)
        return HeldFix;
    if (step == Step::Claim && error == ENXIO)
        return "Unload it: sudo rmmod lp.";
    if (error == ENOENT)
        return "Load the ppdev module (sudo modprobe ppdev).";
    if (!isMissing(step, error))
        return {};
    if (step == Step::Open)
        return "Load the ppdev module (sudo modprobe ppdev) and check that the parallel port is "
               "enabled in the firmware setup.";
    return "The port went away: check that it is still connected.";
}

std::string reasonFor(PpdevPort::Step step, int error) {
    if (step == PpdevPort::Step::Claim && error == ENXIO)
        return HeldByDriver;
    return std::strerror(error);
}

} // namespace

PpdevPort::PpdevPort(std::string devicePath) : path_(std::move(devicePath)) {}

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
    unbind();
    missing_ = isMissing(step, error);
    return core::PortStatus::failure(path_, reasonFor(step, error), fixFor(step, error));
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
