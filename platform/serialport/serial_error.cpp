#include "serial_error.h"

#include <cerrno>

namespace platform {

int serialErrno(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::NoError:
        return 0;
    case QSerialPort::DeviceNotFoundError:
        return ENOENT;
    case QSerialPort::PermissionError:
        return EACCES;
    case QSerialPort::OpenError: // no system call failed; see below
        return 0;
    case QSerialPort::TimeoutError:
        return ETIMEDOUT;
    case QSerialPort::NotOpenError:
        return EBADF;
    default: // ResourceError (unplugged), WriteError, ...
        return EIO;
    }
}

core::PortStatus serialFailure(const std::string& device, QSerialPort::SerialPortError error,
                               const std::string& message, DeviceStep step) {
    // QSerialPort gives OpenError when this very object has the port open
    // already: the program's own state, not another program's hold. Every
    // failure closes the port, so the panel's retry opens it afresh.
    if (error == QSerialPort::OpenError)
        return core::PortStatus::failure(
            device, "the port is already open in this program",
            "The panel closes the port and tries again; if the error stays, restart the panel.");
    return core::PortStatus::failure(device, message,
                                     deviceFix(DeviceKind::SerialBoard, serialErrno(error), step));
}

} // namespace platform
