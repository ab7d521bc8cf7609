#include "device_error.h"

#include "device_lock.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

namespace platform {
namespace {

constexpr unsigned bit(DeviceKind kind) {
    return 1u << static_cast<unsigned>(kind);
}
constexpr unsigned Parport = bit(DeviceKind::Parport), DirectPort = bit(DeviceKind::DirectPort),
                   HidBoard = bit(DeviceKind::HidBoard), SerialBoard = bit(DeviceKind::SerialBoard);
constexpr unsigned AnyKind = Parport | DirectPort | HidBoard | SerialBoard;

const std::string UdevRule =
    "The udev rule 70-kavo-panel-relay-boards.rules gives the logged-in user access to the "
    "board: install it in /etc/udev/rules.d/, then unplug the board and plug it in again.";
const std::string StoppedAnswering = "The board stopped answering: check that it is plugged in.";

struct Row {
    std::vector<int> errors;
    unsigned kinds;
    std::optional<DeviceStep> step; // only where the step changes the advice
    std::string fix;
};

const Row Rows[] = {
    // Refused: the group or rule that grants the device.
    {{EACCES, EPERM},
     Parport,
     {},
     "Add your user to the group lp (sudo adduser $USER lp) and log in again."},
    {{EPERM},
     DirectPort,
     {},
     "Direct port access needs root or CAP_SYS_RAWIO; using the ppdev driver instead needs "
     "neither (sudo modprobe ppdev)."},
    {{EACCES, EPERM}, HidBoard, {}, UdevRule},
    // A serial port another program has locked is refused the same way.
    {{EACCES, EPERM},
     SerialBoard,
     {},
     UdevRule + " Or join the group dialout: sudo adduser $USER dialout, then log in again. If "
                "another program has the port open, close it."},
    {{EBUSY}, AnyKind, {}, InUseFix},

    // Not there: never loaded or plugged in, or gone since.
    {{ENOENT}, Parport, {}, "Load the ppdev module (sudo modprobe ppdev)."},
    {{ENODEV, ENXIO},
     Parport,
     DeviceStep::Opening,
     "Load the ppdev module (sudo modprobe ppdev) and check that the parallel port is enabled in "
     "the firmware setup."},
    {{ENODEV, ENXIO},
     Parport,
     DeviceStep::Using,
     "The port went away: check that it is still connected."},
    {{ENOENT},
     SerialBoard,
     {},
     std::string("Plug in the board, or check the device name; ") + ListBoardsHint + "."},
    {{ENOENT, ENODEV, ENXIO, EIO, EPIPE}, HidBoard, {}, StoppedAnswering},
#ifdef ESHUTDOWN // not among Windows's errno values
    {{ESHUTDOWN}, HidBoard, {}, StoppedAnswering},
#endif
    {{EIO}, SerialBoard, {}, StoppedAnswering},

    // There, but not answering as a board should.
    {{ETIMEDOUT}, HidBoard, {}, "The board does not answer: unplug it and plug it in again."},
    {{ETIMEDOUT},
     SerialBoard,
     {},
     "The port does not send: unplug the board and plug it in again."},
    {{EPROTO},
     HidBoard,
     {},
     "The device does not answer like a relay board: check which device --board selects."},
};

} // namespace

std::string deviceFix(DeviceKind kind, int error, DeviceStep step) {
    for (const Row& row : Rows) {
        if ((row.kinds & bit(kind)) && (!row.step || *row.step == step) &&
            std::find(row.errors.begin(), row.errors.end(), error) != row.errors.end())
            return row.fix;
    }
    return {};
}

} // namespace platform
