// Serial ports through QtSerialPort.
#include "serial_line.h"

#include "port_in_use.h"
#include "serial_error.h"

#include "platform/device_error.h"
#include "platform/device_lock.h"
#include "platform/relay/device_order.h"
#include "platform/relay/lcus_protocol.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QSerialPortInfo>

#include <algorithm>
#include <optional>

#include <cerrno>

namespace platform {
namespace {

// Frames go into QSerialPort's buffer; flush() pushes them out with a
// bounded wait, so a port that stops sending fails its write and is opened
// afresh on the next one rather than holding the board's thread.
class QtSerialLine : public SerialLine {
  public:
    explicit QtSerialLine(std::chrono::milliseconds wait) : wait_(wait) {}
    ~QtSerialLine() override {
        if (port_.isOpen())
            port_.close();
    }

    core::PortStatus open(const std::string& device) override {
        port_.setPortName(QString::fromStdString(device));
        // Write-only: the boards never answer, and without a read notifier a
        // port that goes away cannot keep the event loop spinning.
        if (!port_.open(QIODevice::WriteOnly)) {
            // QSerialPort says "permission" for a port another program has locked.
            if (port_.error() == QSerialPort::PermissionError) {
                if (const std::optional<std::string> inUse = serialPortInUse(device))
                    return core::PortStatus::failure(device, *inUse, InUseFix);
            }
            return serialFailure(device, port_.error(), port_.errorString().toStdString(),
                                 DeviceStep::Opening);
        }
        const bool configured =
            port_.setBaudRate(relay::LcusBaudRate) && port_.setDataBits(QSerialPort::Data8) &&
            port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop) &&
            port_.setFlowControl(QSerialPort::NoFlowControl);
        if (!configured)
            return serialFailure(device, port_.error(), port_.errorString().toStdString(),
                                 DeviceStep::Opening);
        return core::PortStatus::success(device);
    }

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

  private:
    relay::IoResult failure() const {
        return relay::IoResult::failure(serialErrno(port_.error()),
                                        port_.errorString().toStdString());
    }

    QSerialPort port_;
    std::chrono::milliseconds wait_;
};

} // namespace

std::unique_ptr<SerialLine> makeSerialLine(std::chrono::milliseconds sendWait) {
    return std::make_unique<QtSerialLine>(sendWait);
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
              [](const auto& a, const auto& b) { return relay::devicePathBefore(a.path, b.path); });
    return boards;
}

} // namespace platform
