#include "serial_relay_port.h"

#include "port_in_use.h"
#include "serial_error.h"

#include "platform/device_error.h"
#include "platform/device_lock.h"
#include "platform/relay/lcus_protocol.h"
#include "platform/relay/relay_switcher.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QSerialPortInfo>

#include <algorithm>
#include <optional>

#include <cerrno>

namespace platform {
// Frames go into QSerialPort's buffer; flush() pushes them out with a
// bounded wait, so a port that stops sending fails its write and is opened
// afresh on the next one rather than holding the board's thread.
class QtSerialTransport : public relay::SerialTransport {
  public:
    QtSerialTransport(QSerialPort& port, std::chrono::milliseconds wait)
        : port_(port), wait_(wait) {}

    relay::IoResult write(std::span<const std::uint8_t> bytes) override {
        const auto size = static_cast<qint64>(bytes.size());
        if (port_.write(reinterpret_cast<const char*>(bytes.data()), size) != size)
            return failure();
        return relay::IoResult::success();
    }

    relay::IoResult flush() override {
        QElapsedTimer waited;
        waited.start();
        while (port_.bytesToWrite() > 0) {
            const qint64 left = wait_.count() - waited.elapsed();
            if (left <= 0 || !port_.waitForBytesWritten(static_cast<int>(left))) {
                if (port_.error() == QSerialPort::NoError ||
                    port_.error() == QSerialPort::TimeoutError)
                    return relay::IoResult::failure(ETIMEDOUT, "the port did not send within " +
                                                                   std::to_string(wait_.count()) +
                                                                   " ms");
                return failure();
            }
        }
        return relay::IoResult::success();
    }

    relay::IoResult failure() const {
        return relay::IoResult::failure(serialErrno(port_.error()),
                                        port_.errorString().toStdString());
    }

  private:
    QSerialPort& port_;
    std::chrono::milliseconds wait_;
};

SerialRelayPort::SerialRelayPort(std::string device, std::chrono::milliseconds flushWait)
    : device_(std::move(device)), flushWait_(flushWait) {}

SerialRelayPort::~SerialRelayPort() {
    close();
}

core::PortStatus SerialRelayPort::PortOut(std::uint16_t, std::uint8_t value) {
    if (!switcher_) {
        core::PortStatus bound = bind();
        if (!bound.ok)
            return bound;
    }
    const relay::SwitchResult result = switcher_->apply(value);
    if (!result.ok())
        return fail(core::PortStatus::failure(
            device_, result.io.message,
            deviceFix(DeviceKind::SerialBoard, result.io.error, DeviceStep::Using)));
    return core::PortStatus::success(device_);
}

core::PortStatus SerialRelayPort::bind() {
    serial_ = std::make_unique<QSerialPort>();
    serial_->setPortName(QString::fromStdString(device_));
    // Write-only: the boards never answer, and without a read notifier a
    // port that goes away cannot keep the event loop spinning.
    if (!serial_->open(QIODevice::WriteOnly)) {
        // QSerialPort says "permission" for a port another program has locked.
        if (serial_->error() == QSerialPort::PermissionError) {
            if (const std::optional<std::string> inUse = serialPortInUse(device_)) {
                close();
                return core::PortStatus::failure(device_, *inUse, InUseFix);
            }
        }
        return fail(serialFailure(device_, serial_->error(), serial_->errorString().toStdString(),
                                  DeviceStep::Opening));
    }
    const bool configured =
        serial_->setBaudRate(relay::LcusBaudRate) && serial_->setDataBits(QSerialPort::Data8) &&
        serial_->setParity(QSerialPort::NoParity) && serial_->setStopBits(QSerialPort::OneStop) &&
        serial_->setFlowControl(QSerialPort::NoFlowControl);
    if (!configured)
        return fail(serialFailure(device_, serial_->error(), serial_->errorString().toStdString(),
                                  DeviceStep::Opening));
    transport_ = std::make_unique<QtSerialTransport>(*serial_, flushWait_);
    board_ = std::make_unique<relay::LcusSerialBoard>(*transport_);
    switcher_ = std::make_unique<relay::RelaySwitcher>(*board_);
    return core::PortStatus::success(device_);
}

core::PortStatus SerialRelayPort::fail(core::PortStatus status) {
    close();
    return status;
}

void SerialRelayPort::close() {
    switcher_.reset();
    board_.reset();
    transport_.reset();
    if (serial_ && serial_->isOpen())
        serial_->close();
    serial_.reset();
}

std::vector<relay::SerialBoardInfo> findSerialBoards() {
    std::vector<relay::SerialBoardInfo> boards;
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        if (!port.hasVendorIdentifier() || port.vendorIdentifier() != Ch340Vendor ||
            port.productIdentifier() != Ch340Product)
            continue;
        boards.push_back({port.systemLocation().toStdString(), port.description().toStdString()});
    }
    std::sort(boards.begin(), boards.end(),
              [](const auto& a, const auto& b) { return a.path < b.path; });
    return boards;
}

} // namespace platform
