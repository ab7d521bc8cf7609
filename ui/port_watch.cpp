#include "port_watch.h"
#include "port_indicator.h"

#include <QTimer>

namespace ui {

PortWatch::PortWatch(core::OutputRegister& reg, PortIndicator& indicator, QObject* parent)
    : QObject(parent), reg_(reg), indicator_(indicator), retry_(new QTimer(this)) {
    retry_->setObjectName("PortRetry");
    retry_->setInterval(RetryIntervalMs);
    connect(retry_, &QTimer::timeout, this, &PortWatch::PortRetry_Timer);
}

void PortWatch::showStatus(const core::PortStatus& status) {
    last_ = status;
    failing_ = !status.ok;
    indicator_.showStatus(status);
    if (failing_ && !stopped_) {
        if (!retry_->isActive())
            retry_->start();
    } else {
        retry_->stop();
    }
    emit statusChanged();
}

void PortWatch::PortRetry_Timer() {
    if (failing_ && !stopped_)
        reg_.WriteOutput();
}

void PortWatch::stop() {
    stopped_ = true;
    retry_->stop();
}

} // namespace ui
