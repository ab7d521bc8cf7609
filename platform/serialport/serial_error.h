#pragma once
// QtSerialPort's errors as the user is told them. Most stand for a system
// call's errno, and then the fix is the device table's
// (platform/device_error.h), as for every other board.

#include "core/port_output.h"
#include "platform/device_error.h"

#include <QSerialPort>

#include <string>

namespace platform {

// The errno behind a QSerialPort error, as the relay boards' results carry it.
int serialErrno(QSerialPort::SerialPortError error);

// The failure of the port `device` with `error`; `message` is the port's
// errorString().
core::PortStatus serialFailure(const std::string& device, QSerialPort::SerialPortError error,
                               const std::string& message, DeviceStep step);

} // namespace platform
