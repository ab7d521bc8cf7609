#pragma once
// Whether the relay board can be reached, and the delivery of a write that
// failed: while the last write has failed, the current PortValue is written
// again every RetryIntervalMs until the port takes it. Once a write has
// succeeded nothing more is written until the next change, so this never
// turns into a refresh of the port.

#include "core/output_register.h"
#include "core/port_output.h"

#include <QObject>

class QTimer;

namespace panel {

class PortHealth : public QObject {
    Q_OBJECT
  public:
    static constexpr int RetryIntervalMs = 2000;

    // The retry timer is PortRetry, a child of this object.
    PortHealth(core::OutputRegister& reg, QObject* parent = nullptr);

    // The outcome of a write, as the port monitor reports each change of it.
    void showStatus(const core::PortStatus& status);
    // The retry timer's tick: write the current PortValue once more.
    void PortRetry_Timer();
    // No more retries, whatever comes.
    void stop();

    QTimer* retryTimer() const { return retry_; }
    bool failing() const { return failing_; }
    const core::PortStatus& lastStatus() const { return last_; }

  signals:
    void statusChanged();

  private:
    core::OutputRegister& reg_;
    QTimer* retry_;
    core::PortStatus last_;
    bool failing_ = false;
    bool stopped_ = false;
};

} // namespace panel
