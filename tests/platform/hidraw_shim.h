#pragma once
// Control side of the hidraw stand-in (hidraw_shim.cpp). Linked into a test
// (or preloaded into a program), the shim takes the place of libudev for
// hidapi's enumeration, answering with the boards the test plugs in, and of
// open/ioctl/write/close on their device nodes, which behave like the boards'
// firmware. Every call on a board is logged, e.g.
//   "open SFEATURE ff 01 GFEATURE close"   (a USBRelay board)
//   "open WRITE f1 close"                  (a HIDRelay board)
//   "open WRITE a0 01 01 a2 close"         (an LCUS HID board)
// where a failed call reads e.g. "SFEATURE ff 01!ENODEV", and a lock taken
// on a board reads "flock" (refused: "flock!EWOULDBLOCK"). Each board has a
// file of its own behind its device node, so locks work as on the device.
//
// What is left out: hotplug monitoring, input reports (read/poll) and the
// devnum lookup behind hid_get_device_info(), none of which the panel uses.

#ifdef __cplusplus
extern "C" {
#endif

#define HIDRAW_SHIM_PREFIX "/kavo-test-hidraw/"

enum hidraw_shim_family {
    HIDRAW_SHIM_USBRELAY, // 16c0:05df "USBRelayN", feature reports (the command also as
                          // an output report), reports its relays
    HIDRAW_SHIM_HIDRELAY, // 0519:2018 "HIDRelay", one output report byte
    HIDRAW_SHIM_LCUS,     // 5131:2007, LCUS frames as output reports
    HIDRAW_SHIM_KEYBOARD  // 16c0:05df as well, but some other V-USB gadget
};

enum hidraw_shim_state {
    HIDRAW_SHIM_PRESENT,       // everything works
    HIDRAW_SHIM_UNPLUGGED,     // gone: not listed, open fails ENOENT, open descriptors ENODEV
    HIDRAW_SHIM_NO_PERMISSION, // listed, but open fails EACCES
    HIDRAW_SHIM_HANGING        // requests block until hidraw_shim_release(), then ETIMEDOUT
};

// No boards, an empty log.
void hidraw_shim_reset(void);
// Plugs in a board and returns its number; its device is
// HIDRAW_SHIM_PREFIX "dev/hidraw<number>". `id` is a USBRelay board's own
// ID (5 characters), `serial` its USB serial number string.
int hidraw_shim_plug(enum hidraw_shim_family family, int relays, const char* id,
                     const char* serial);
const char* hidraw_shim_device(int board);
void hidraw_shim_set_state(int board, enum hidraw_shim_state state);
unsigned hidraw_shim_relays(int board);
void hidraw_shim_set_relays(int board, unsigned relays);
// Relays (as a mask) that no longer follow commands: a welded contact.
void hidraw_shim_stick(int board, unsigned relays);
// Lets every hanging request fail with ETIMEDOUT; the boards work again.
void hidraw_shim_release(void);
const char* hidraw_shim_log(void);
void hidraw_shim_clear_log(void);
int hidraw_shim_open_fds(void);

#ifdef __cplusplus
}
#endif
