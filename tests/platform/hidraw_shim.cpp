// Stands in for libudev and for hidraw device nodes, so hidapi's real hidraw
// backend, and the panel's code above it, run without a relay board. As a
// shared library the test links, its symbols come before libudev's and
// libc's; calls on other paths and descriptors go on to libc. Everything is
// guarded by one lock: hidapi runs on the backend's worker thread while the
// test changes the boards.

#undef _FORTIFY_SOURCE // fortified headers would redefine open() inline
#include "hidraw_shim.h"
#include "../interposed_ioctl.h"
#include "../interposed_open.h"

#include <cerrno>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

struct Board {
    hidraw_shim_family family = HIDRAW_SHIM_USBRELAY;
    int relays = 4;
    std::string id;
    std::string serial;
    hidraw_shim_state state = HIDRAW_SHIM_PRESENT;
    unsigned relayState = 0;
    unsigned stuck = 0;
    int node = -1; // the file that stands for its device node, so that locks work
};

// Built on first use and never destroyed: other libraries call open() and
// close() before this one's constructors and after its destructors run.
struct World {
    std::mutex mutex;
    std::condition_variable released;
    std::uint64_t releases = 0;
    std::vector<Board> boards;
    std::map<int, int> fds; // descriptor -> board
    std::string log;
    std::string logCopy; // what hidraw_shim_log() hands out
};
World& world() {
    static auto* w = new World;
    return *w;
}

using CloseFn = int (*)(int);
using WriteFn = ssize_t (*)(int, const void*, size_t);
CloseFn realClose() {
    static CloseFn fn = nextDefinition<CloseFn>("close");
    return fn;
}
WriteFn realWrite() {
    static WriteFn fn = nextDefinition<WriteFn>("write");
    return fn;
}

const char* errorName(int error) {
    switch (error) {
    case ENOENT:
        return "ENOENT";
    case EACCES:
        return "EACCES";
    case ENODEV:
        return "ENODEV";
    case EPIPE:
        return "EPIPE";
    case ETIMEDOUT:
        return "ETIMEDOUT";
    case EWOULDBLOCK:
        return "EWOULDBLOCK";
    case EINVAL:
        return "EINVAL";
    default:
        return "ENOTTY";
    }
}

// Callers hold the lock.
void record(const std::string& call, int error = 0) {
    std::string& log = world().log;
    if (!log.empty())
        log += ' ';
    log += call;
    if (error)
        log += std::string("!") + errorName(error);
}
int failWith(const std::string& call, int error) {
    record(call, error);
    errno = error;
    return -1;
}

std::string bytes(const unsigned char* data, std::size_t size) {
    std::string text;
    char hex[4];
    for (std::size_t i = 0; i < size; ++i) {
        std::snprintf(hex, sizeof hex, i ? " %02x" : "%02x", data[i]);
        text += hex;
    }
    return text;
}

std::string devnode(int board) {
    return HIDRAW_SHIM_PREFIX "dev/hidraw" + std::to_string(board);
}
std::string syspath(int board) {
    return HIDRAW_SHIM_PREFIX "sys/class/hidraw/hidraw" + std::to_string(board);
}

struct Identity {
    unsigned vendor, product;
    const char* manufacturer; // nullptr: the device has no such string
    std::string product_name;
};
Identity identity(const Board& board) {
    switch (board.family) {
    case HIDRAW_SHIM_USBRELAY:
        return {0x16c0, 0x05df, "www.dcttech.com", "USBRelay" + std::to_string(board.relays)};
    case HIDRAW_SHIM_HIDRELAY:
        return {0x0519, 0x2018, "Ucreatefun.com", "HIDRelay"};
    case HIDRAW_SHIM_LCUS:
        return {0x5131, 0x2007, nullptr, {}};
    case HIDRAW_SHIM_KEYBOARD:
        return {0x16c0, 0x05df, "obdev.at", "HIDKeys"};
    }
    return {0, 0, nullptr, {}};
}

std::string uevent(int number) {
    const Board& board = world().boards.at(static_cast<std::size_t>(number));
    const Identity id = identity(board);
    char hidId[64];
    std::snprintf(hidId, sizeof hidId, "0003:%08X:%08X", id.vendor, id.product);
    const std::string name = id.manufacturer ? std::string(id.manufacturer) + " " + id.product_name
                                             : "HID " + std::string(hidId).substr(9, 4) + ":" +
                                                   std::string(hidId).substr(18, 4);
    return "DRIVER=hid-generic\nHID_ID=" + std::string(hidId) + "\nHID_NAME=" + name +
           "\nHID_PHYS=usb-0000:00:14.0-" + std::to_string(number + 1) +
           "/input0\nHID_UNIQ=" + board.serial + "\n";
}

// Vendor-defined collections: 8 feature bytes (USBRelay), 8 output bytes
// (HIDRelay, LCUS), 8 input bytes (the keyboard stand-in).
std::vector<unsigned char> descriptor(const Board& board) {
    const unsigned char main = board.family == HIDRAW_SHIM_USBRELAY   ? 0xB1
                               : board.family == HIDRAW_SHIM_KEYBOARD ? 0x81
                                                                      : 0x91;
    return {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF,
            0x00, 0x75, 0x08, 0x95, 0x08, 0x09, 0x00, main, 0x02, 0xC0};
}

int memoryFile(const std::string& content) {
    const int fd = static_cast<int>(::memfd_create("kavo-hidraw-shim", MFD_CLOEXEC));
    if (fd < 0)
        return -1;
    if (realWrite()(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size()) ||
        ::lseek(fd, 0, SEEK_SET) != 0) {
        realClose()(fd);
        errno = EIO;
        return -1;
    }
    return fd;
}

// hidapi reads two sysfs files of a listed device directly.
int openSysfs(const std::string& path) {
    for (std::size_t i = 0; i < world().boards.size(); ++i) {
        const std::string device = syspath(static_cast<int>(i)) + "/device/";
        if (path == device + "uevent")
            return memoryFile(uevent(static_cast<int>(i)));
        if (path == device + "report_descriptor") {
            const auto bytes = descriptor(world().boards[i]);
            return memoryFile(std::string(bytes.begin(), bytes.end()));
        }
    }
    errno = ENOENT;
    return -1;
}

int openDevice(const std::string& path) {
    for (std::size_t i = 0; i < world().boards.size(); ++i) {
        if (path != devnode(static_cast<int>(i)))
            continue;
        switch (world().boards[i].state) {
        case HIDRAW_SHIM_UNPLUGGED:
            return failWith("open", ENOENT);
        case HIDRAW_SHIM_NO_PERMISSION:
            return failWith("open", EACCES);
        default:
            break;
        }
        // A new open file of the board's node, as each open of a device is.
        const std::string node = "/proc/self/fd/" + std::to_string(world().boards[i].node);
        const int fd = realOpen()(node.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            return failWith("open", errno);
        world().fds[fd] = static_cast<int>(i);
        record("open");
        return fd;
    }
    return failWith("open", ENOENT);
}

// The firmware's side of one command; relays that stick keep their state.
void applyRelays(Board& board, unsigned on, unsigned affected) {
    const unsigned all = (1u << board.relays) - 1u;
    affected &= all & ~board.stuck;
    board.relayState = (board.relayState & ~affected) | (on & affected);
}
void setRelay(Board& board, int relay, bool on) {
    if (relay < 1 || relay > board.relays)
        return;
    const unsigned bit = 1u << (relay - 1);
    applyRelays(board, on ? bit : 0, bit);
}

// A USBRelay command: FF/FD switch one relay on/off, FE/FC all of them.
void usbRelayCommand(Board& board, unsigned char command, unsigned char relay) {
    switch (command) {
    case 0xFF:
        setRelay(board, relay, true);
        break;
    case 0xFD:
        setRelay(board, relay, false);
        break;
    case 0xFE:
        applyRelays(board, 0xFF, 0xFF);
        break;
    case 0xFC:
        applyRelays(board, 0x00, 0xFF);
        break;
    default:
        break; // the firmware ignores what it does not know
    }
}

// Waits out a hanging board. Returns the error the request ends with, or 0.
int hang(std::unique_lock<std::mutex>& lock, int number) {
    World& w = world();
    if (w.boards.at(static_cast<std::size_t>(number)).state != HIDRAW_SHIM_HANGING)
        return 0;
    const std::uint64_t seen = w.releases;
    w.released.wait(lock, [&] { return w.releases != seen; });
    return ETIMEDOUT;
}

int deviceIoctl(std::unique_lock<std::mutex>& lock, int number, unsigned long request, void* arg) {
    Board& board = world().boards.at(static_cast<std::size_t>(number));
    if (request == HIDIOCGRDESCSIZE) {
        *static_cast<int*>(arg) = static_cast<int>(descriptor(board).size());
        return 0;
    }
    if (request == HIDIOCGRDESC) {
        auto* out = static_cast<hidraw_report_descriptor*>(arg);
        const auto bytes = descriptor(board);
        out->size = static_cast<__u32>(bytes.size());
        std::memcpy(out->value, bytes.data(), bytes.size());
        return 0;
    }
    const unsigned nr = _IOC_NR(request);
    const std::size_t size = _IOC_SIZE(request);
    auto* data = static_cast<unsigned char*>(arg);
    if (_IOC_TYPE(request) != 'H' || (nr != 0x06 && nr != 0x07) || size == 0)
        return failWith("ioctl", ENOTTY);
    const bool set = nr == 0x06;
    const std::string call =
        set ? "SFEATURE " + bytes(data + 1, std::min<std::size_t>(size - 1, 2)) : "GFEATURE";
    if (const int error = hang(lock, number))
        return failWith(call, error);
    if (board.state == HIDRAW_SHIM_UNPLUGGED)
        return failWith(call, ENODEV);
    // Only the USBRelay board has a feature report; the others stall.
    if (board.family != HIDRAW_SHIM_USBRELAY || data[0] != 0)
        return failWith(call, EPIPE);
    if (set) {
        if (size < 3)
            return failWith(call, EPIPE);
        usbRelayCommand(board, data[1], data[2]);
        record(call);
        return static_cast<int>(size);
    }
    // The report number stays in front, then the 8 bytes of the report.
    unsigned char report[9] = {0};
    for (std::size_t i = 0; i < 5 && i < board.id.size(); ++i)
        report[1 + i] = static_cast<unsigned char>(board.id[i]);
    report[8] = static_cast<unsigned char>(board.relayState);
    const std::size_t copied = std::min(size, sizeof report);
    std::memcpy(data, report, copied);
    record(call);
    return static_cast<int>(copied);
}

ssize_t deviceWrite(std::unique_lock<std::mutex>& lock, int number, const unsigned char* data,
                    std::size_t size) {
    Board& board = world().boards.at(static_cast<std::size_t>(number));
    // The command bytes only: one for HIDRelay, the frame for LCUS, command
    // and relay for USBRelay.
    const std::size_t shown = board.family == HIDRAW_SHIM_LCUS       ? 4
                              : board.family == HIDRAW_SHIM_USBRELAY ? 2
                                                                     : 1;
    const std::string call =
        "WRITE " + (size > 1 ? bytes(data + 1, std::min(size - 1, shown)) : "");
    if (const int error = hang(lock, number))
        return failWith(call, error);
    if (board.state == HIDRAW_SHIM_UNPLUGGED)
        return failWith(call, ENODEV);
    if (size < 2 || data[0] != 0)
        return failWith(call, EINVAL);
    if (board.family == HIDRAW_SHIM_HIDRELAY) {
        const unsigned char command = data[1];
        if (command == 0xF9)
            applyRelays(board, 0xFF, 0xFF);
        else if (command == 0x09)
            applyRelays(board, 0x00, 0xFF);
        else if ((command & 0x0F) >= 1 && (command & 0x0F) <= 8 &&
                 ((command & 0xF0) == 0xF0 || (command & 0xF0) == 0x00))
            setRelay(board, command & 0x0F, (command & 0xF0) == 0xF0);
    } else if (board.family == HIDRAW_SHIM_LCUS) {
        // A0 relay state sum; a frame with a wrong sum is ignored.
        if (size >= 5 && data[1] == 0xA0 && data[3] <= 1 &&
            static_cast<unsigned char>(data[1] + data[2] + data[3]) == data[4])
            setRelay(board, data[2], data[3] == 1);
    } else if (board.family == HIDRAW_SHIM_USBRELAY) {
        // Its firmware takes the feature report's command as an output
        // report too, as usbrelay sends it.
        if (size < 3)
            return failWith(call, EPIPE);
        usbRelayCommand(board, data[1], data[2]);
    } else {
        return failWith(call, EPIPE); // no output report to write
    }
    record(call);
    return static_cast<ssize_t>(size);
}

// Which board a descriptor belongs to, or -1. Callers hold the lock.
int boardOf(int fd) {
    const auto it = world().fds.find(fd);
    return it == world().fds.end() ? -1 : it->second;
}

} // namespace

namespace {
int openAny(const char* path, int flags, va_list args) {
    if (path && std::strncmp(path, HIDRAW_SHIM_PREFIX, std::strlen(HIDRAW_SHIM_PREFIX)) == 0) {
        std::unique_lock lock(world().mutex);
        const std::string name(path);
        if (name.compare(0, std::strlen(HIDRAW_SHIM_PREFIX "sys/"), HIDRAW_SHIM_PREFIX "sys/") == 0)
            return openSysfs(name);
        return openDevice(name);
    }
    return openFile(path, flags, args);
}

int ioctlAny(int fd, unsigned long request, void* arg) {
    {
        std::unique_lock lock(world().mutex);
        const int board = boardOf(fd);
        if (board >= 0)
            return deviceIoctl(lock, board, request, arg);
    }
    return realIoctl()(fd, request, arg);
}
} // namespace

// ---- libudev, as far as hidapi's hidraw backend uses it ----

struct udev {
    int unused = 0;
};
struct udev_list_entry {
    std::string name;
    udev_list_entry* next = nullptr;
};
struct udev_enumerate {
    std::string subsystem;
    std::vector<std::unique_ptr<udev_list_entry>> entries;
};
struct udev_device {
    int board = 0;
    int level = 0; // 0 hidraw, 1 hid, 2 usb interface, 3 usb device
    std::string syspath;
    std::string devnode;
    std::string uevent;
    std::unique_ptr<udev_device> parents[4]; // owned by the hidraw device, as in libudev
};

extern "C" {

udev* udev_new(void) {
    return new udev;
}
udev* udev_unref(udev* context) {
    delete context;
    return nullptr;
}
udev_enumerate* udev_enumerate_new(udev*) {
    return new udev_enumerate;
}
int udev_enumerate_add_match_subsystem(udev_enumerate* enumerate, const char* subsystem) {
    enumerate->subsystem = subsystem ? subsystem : "";
    return 0;
}
int udev_enumerate_scan_devices(udev_enumerate* enumerate) {
    std::unique_lock lock(world().mutex);
    enumerate->entries.clear();
    if (enumerate->subsystem != "hidraw")
        return 0;
    for (std::size_t i = 0; i < world().boards.size(); ++i) {
        if (world().boards[i].state == HIDRAW_SHIM_UNPLUGGED)
            continue;
        auto entry = std::make_unique<udev_list_entry>();
        entry->name = syspath(static_cast<int>(i));
        if (!enumerate->entries.empty())
            enumerate->entries.back()->next = entry.get();
        enumerate->entries.push_back(std::move(entry));
    }
    return 0;
}
udev_list_entry* udev_enumerate_get_list_entry(udev_enumerate* enumerate) {
    return enumerate->entries.empty() ? nullptr : enumerate->entries.front().get();
}
udev_enumerate* udev_enumerate_unref(udev_enumerate* enumerate) {
    delete enumerate;
    return nullptr;
}
udev_list_entry* udev_list_entry_get_next(udev_list_entry* entry) {
    return entry->next;
}
const char* udev_list_entry_get_name(udev_list_entry* entry) {
    return entry->name.c_str();
}

udev_device* udev_device_new_from_syspath(udev*, const char* path) {
    std::unique_lock lock(world().mutex);
    for (std::size_t i = 0; path && i < world().boards.size(); ++i) {
        const int number = static_cast<int>(i);
        if (syspath(number) != path || world().boards[i].state == HIDRAW_SHIM_UNPLUGGED)
            continue;
        auto* device = new udev_device;
        device->board = number;
        device->syspath = path;
        device->devnode = devnode(number);
        return device;
    }
    return nullptr;
}
// Only hid_get_device_info() looks a device up by its number; the panel does not.
udev_device* udev_device_new_from_devnum(udev*, char, unsigned long) {
    return nullptr;
}
udev_device* udev_device_unref(udev_device* device) {
    delete device;
    return nullptr;
}
const char* udev_device_get_syspath(udev_device* device) {
    return device->syspath.c_str();
}
const char* udev_device_get_devnode(udev_device* device) {
    return device->devnode.empty() ? nullptr : device->devnode.c_str();
}
udev_device* udev_device_get_parent_with_subsystem_devtype(udev_device* device,
                                                           const char* subsystem,
                                                           const char* devtype) {
    if (device->level != 0 || !subsystem)
        return nullptr;
    const std::string sub = subsystem;
    const std::string type = devtype ? devtype : "";
    int level = 0;
    if (sub == "hid")
        level = 1;
    else if (sub == "usb" && (type.empty() || type == "usb_interface"))
        level = 2;
    else if (sub == "usb" && type == "usb_device")
        level = 3;
    else
        return nullptr;
    std::unique_ptr<udev_device>& parent = device->parents[level];
    if (!parent) {
        std::unique_lock lock(world().mutex);
        parent = std::make_unique<udev_device>();
        parent->board = device->board;
        parent->level = level;
        const std::string usb =
            HIDRAW_SHIM_PREFIX "sys/devices/usb1/1-" + std::to_string(device->board + 1);
        parent->syspath = level == 3 ? usb : usb + ":1.0";
        if (level == 1) {
            parent->syspath += "/hid";
            parent->uevent = uevent(device->board);
        }
    }
    return parent.get();
}
const char* udev_device_get_sysattr_value(udev_device* device, const char* name) {
    if (!name)
        return nullptr;
    const std::string attribute = name;
    if (device->level == 1 && attribute == "uevent")
        return device->uevent.c_str();
    if (device->level == 2 && attribute == "bInterfaceNumber")
        return "00";
    if (device->level != 3)
        return nullptr;
    std::unique_lock lock(world().mutex);
    const Board& board = world().boards.at(static_cast<std::size_t>(device->board));
    static thread_local std::string value;
    const Identity id = identity(board);
    if (attribute == "bcdDevice")
        return "0100";
    if (!id.manufacturer)
        return nullptr; // this board has no strings at all
    if (attribute == "manufacturer")
        value = id.manufacturer;
    else if (attribute == "product")
        value = id.product_name;
    else if (attribute == "serial" && !board.serial.empty())
        value = board.serial;
    else
        return nullptr;
    return value.c_str();
}

// ---- the device nodes ----

ssize_t write(int fd, const void* data, size_t size) {
    {
        std::unique_lock lock(world().mutex);
        const int board = boardOf(fd);
        if (board >= 0)
            return deviceWrite(lock, board, static_cast<const unsigned char*>(data), size);
    }
    return realWrite()(fd, data, size);
}

int flock(int fd, int operation) {
    using FlockFn = int (*)(int, int);
    static const FlockFn real = nextDefinition<FlockFn>("flock");
    std::unique_lock lock(world().mutex);
    if (boardOf(fd) < 0) {
        lock.unlock();
        return real(fd, operation);
    }
    if (real(fd, operation) != 0)
        return failWith("flock", errno);
    record("flock");
    return 0;
}

int close(int fd) {
    {
        std::unique_lock lock(world().mutex);
        if (world().fds.erase(fd))
            record("close");
    }
    return realClose()(fd);
}

// ---- control ----

void hidraw_shim_reset(void) {
    std::unique_lock lock(world().mutex);
    for (const Board& board : world().boards)
        realClose()(board.node);
    world().boards.clear();
    world().log.clear();
}
int hidraw_shim_plug(hidraw_shim_family family, int relays, const char* id, const char* serial) {
    std::unique_lock lock(world().mutex);
    Board board;
    board.family = family;
    board.relays = relays;
    board.id = id ? id : "";
    board.serial = serial ? serial : "";
    board.node = static_cast<int>(::memfd_create("kavo-hidraw-shim", MFD_CLOEXEC));
    world().boards.push_back(board);
    return static_cast<int>(world().boards.size()) - 1;
}
const char* hidraw_shim_device(int board) {
    static thread_local std::string path;
    path = devnode(board);
    return path.c_str();
}
void hidraw_shim_set_state(int board, hidraw_shim_state state) {
    std::unique_lock lock(world().mutex);
    world().boards.at(static_cast<std::size_t>(board)).state = state;
}
unsigned hidraw_shim_relays(int board) {
    std::unique_lock lock(world().mutex);
    return world().boards.at(static_cast<std::size_t>(board)).relayState;
}
void hidraw_shim_set_relays(int board, unsigned relays) {
    std::unique_lock lock(world().mutex);
    world().boards.at(static_cast<std::size_t>(board)).relayState = relays;
}
void hidraw_shim_stick(int board, unsigned relays) {
    std::unique_lock lock(world().mutex);
    world().boards.at(static_cast<std::size_t>(board)).stuck = relays;
}
void hidraw_shim_release(void) {
    std::unique_lock lock(world().mutex);
    for (Board& board : world().boards)
        if (board.state == HIDRAW_SHIM_HANGING)
            board.state = HIDRAW_SHIM_PRESENT;
    ++world().releases;
    world().released.notify_all();
}
const char* hidraw_shim_log(void) {
    std::unique_lock lock(world().mutex);
    world().logCopy = world().log;
    return world().logCopy.c_str();
}
void hidraw_shim_clear_log(void) {
    std::unique_lock lock(world().mutex);
    world().log.clear();
}
int hidraw_shim_open_fds(void) {
    std::unique_lock lock(world().mutex);
    return static_cast<int>(world().fds.size());
}

} // extern "C"
