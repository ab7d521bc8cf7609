#pragma once
// Control side of the ppdev stand-in (ppdev_shim.cpp). Linked into a test, the
// shim takes over open/ioctl/close; every path starting with PPDEV_SHIM_PREFIX
// behaves like one parallel port device whose state the test sets, and every
// call on it is written to a log such as
//   "open PPEXCL PPCLAIM PPWDATA=0x05 PPRELEASE close"
// (PPDEV_SHIM_DEVICE adds one more path, PPDEV_SHIM_LOG_FILE a file that gets
// every call, for a program that has the shim preloaded)
// where a failed call reads e.g. "PPEXCL!EBUSY" and an open without
// O_CLOEXEC reads "open-inheritable". Behind the device is a file of the
// process's own, so locks on it work as on the device: two opens in one
// process exclude each other, other processes have their own, unless
// PPDEV_SHIM_BACKING_FILE names a file for every process to share.

#ifdef __cplusplus
extern "C" {
#endif

#define PPDEV_SHIM_PREFIX "/kavo-test-ppdev/"

enum ppdev_shim_state {
    PPDEV_SHIM_PRESENT,       // everything works
    PPDEV_SHIM_ABSENT,        // no device file: open fails with ENOENT
    PPDEV_SHIM_NO_PERMISSION, // open fails with EACCES
    PPDEV_SHIM_HELD,          // another driver has the port: PPEXCL fails with EBUSY
    PPDEV_SHIM_CLAIM_REFUSED, // PPEXCL passes, PPCLAIM fails with ENXIO, as the kernel does
                              // when lp is registered on the port or no port has this number
    PPDEV_SHIM_VANISHED       // the port went away: open and every ioctl fail with ENODEV
};

// Back to a present device, an empty log and no counted opens.
void ppdev_shim_reset(void);
void ppdev_shim_set_state(enum ppdev_shim_state state);
// Calls on the device since the last reset, in order.
const char* ppdev_shim_log(void);
void ppdev_shim_clear_log(void);
// open() calls on the device, successful or not, since the last reset.
int ppdev_shim_open_count(void);
// Descriptors of the device that are open right now.
int ppdev_shim_open_fds(void);

#ifdef __cplusplus
}
#endif
