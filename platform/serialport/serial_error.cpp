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
    case QSerialPort::OpenError:
        return EBUSY;
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
    return core::PortStatus::failure(device, message,
                                     deviceFix(DeviceKind::SerialBoard, serialErrno(error), step));
}

} // namespace platform
