#include "port_health.h"

#include <QTimer>

namespace panel {

PortHealth::PortHealth(core::OutputRegister& reg, QObject* parent)
    : QObject(parent), reg_(reg), retry_(new QTimer(this)) {
    retry_->setObjectName("PortRetry");
    retry_->setInterval(RetryIntervalMs);
    connect(retry_, &QTimer::timeout, this, &PortHealth::PortRetry_Timer);
}

void PortHealth::showStatus(const core::PortStatus& status) {
    last_ = status;
    failing_ = !status.ok;
    if (failing_ && !stopped_) {
        if (!retry_->isActive())
            retry_->start();
    } else {
        retry_->stop();
    }
    emit statusChanged();
}

void PortHealth::PortRetry_Timer() {
    if (failing_ && !stopped_)
        reg_.WriteOutput();
}

void PortHealth::stop() {
    stopped_ = true;
    retry_->stop();
}

} // namespace panel
