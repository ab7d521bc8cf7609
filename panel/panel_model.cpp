#include "panel_model.h"

#include "core/pulse.h"

#include <QTimer>

namespace panel {

PanelModel::PanelModel(Services services, QObject* parent)
    : QObject(parent), services_(services), register_(services_.port),
      switchboard_(register_, services_.beeper, *this),
      rows_(
          services_.clock, services_.beeper,
          [this](int channel) { switched(switchboard_.scheduledToggle(channel)); }, this),
      health_(register_, this) {
    connect(&rows_, &ScheduleRows::rowChanged, this, &PanelModel::rowChanged);
    connect(&health_, &PortHealth::statusChanged, this, &PanelModel::portChanged);
    if (services_.device)
        connect(services_.device, &platform::DeviceThread::answered, this,
                &PanelModel::writeAnswered);
    for (int channel = 1; channel <= core::ChannelCount; ++channel) {
        auto* timer = new QTimer(this);
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, [this, channel] { endPulse(channel); });
        pulses_.at(static_cast<std::size_t>(channel - 1)) = timer;
    }
}

bool PanelModel::isPulsing(int channel) const {
    return pulse(channel)->isActive();
}

void PanelModel::endPulse(int channel) {
    pulse(channel)->stop();
    pulseStep_ = true;
    switchOff(channel);
    pulseStep_ = false;
}

std::uint64_t PanelModel::handedOver() const {
    return services_.device ? services_.device->lastWrite() : 0;
}

Answer PanelModel::carriedOut(std::uint64_t before, core::PortStatus written) const {
    // A value that is no byte is never handed over: its answer is here.
    const std::uint64_t write = handedOver() != before ? handedOver() : 0;
    return {std::nullopt, std::move(written), write};
}

void PanelModel::setOnFaceVisible(int channel, bool visible) {
    if (!pulseStep_)
        pulse(channel)->stop(); // another switch of the channel: it stays as that one left it
    on_.at(static_cast<std::size_t>(channel - 1)) = !visible;
    if (faces_)
        faces_->setOnFaceVisible(channel, visible);
}

void PanelModel::setOffFaceVisible(int channel, bool visible) {
    if (!pulseStep_)
        pulse(channel)->stop();
    on_.at(static_cast<std::size_t>(channel - 1)) = visible;
    if (faces_)
        faces_->setOffFaceVisible(channel, visible);
}

core::PortStatus PanelModel::switched(core::PortStatus written) {
    emit channelsChanged();
    return written;
}

core::PortStatus PanelModel::startupReset() {
    return register_.startupReset();
}
void PanelModel::adoptOutputs(std::uint8_t value) {
    register_.setPortValue(value);
    for (int channel = 1; channel <= core::ChannelCount; ++channel) {
        const bool on = value & core::weight(channel);
        register_.setChannelOff(channel, on ? core::FalseFlag : core::TrueFlag);
        setOnFaceVisible(channel, !on);
        setOffFaceVisible(channel, on);
    }
    emit channelsChanged();
}
core::PortStatus PanelModel::switchOn(int channel) {
    return switched(switchboard_.switchOn(channel));
}
core::PortStatus PanelModel::switchOff(int channel) {
    return switched(switchboard_.switchOff(channel));
}
core::PortStatus PanelModel::allOn() {
    return switched(switchboard_.allOn());
}
core::PortStatus PanelModel::allOff() {
    return switched(switchboard_.allOff());
}
core::PortStatus PanelModel::resetForExit() {
    return switched(register_.resetForExit());
}

bool PanelModel::arm(int channel, const std::string& time) {
    return rows_.arm(channel, time);
}
void PanelModel::disarm(int channel) {
    rows_.disarm(channel);
}

void PanelModel::close() {
    if (!open_)
        return;
    // A pulse never leaves its channel on: its OFF is the last write. "&X"
    // has written 0 already, and then there is nothing left to switch.
    for (int channel = 1; channel <= core::ChannelCount; ++channel)
        if (isPulsing(channel)) {
            if (register_.PortValue() & core::weight(channel))
                endPulse(channel);
            else
                pulse(channel)->stop();
        }
    open_ = false;
    rows_.stop();
    health_.stop();
    emit openChanged();
}

std::optional<Refusal> PanelModel::refusesChannel(int channel) const {
    if (!open_)
        return Refusal::Closed;
    if (channel < 1 || channel > core::ChannelCount)
        return Refusal::NoSuchChannel;
    return std::nullopt;
}

Answer PanelModel::requestSwitchOn(int channel) {
    if (const auto why = refusesChannel(channel))
        return Answer::refusal(*why);
    if (isOn(channel))
        return Answer::refusal(Refusal::AlreadyOn);
    const std::uint64_t before = handedOver();
    return carriedOut(before, switchOn(channel));
}

Answer PanelModel::requestSwitchOff(int channel) {
    if (const auto why = refusesChannel(channel))
        return Answer::refusal(*why);
    if (!isOn(channel))
        return Answer::refusal(Refusal::AlreadyOff);
    const std::uint64_t before = handedOver();
    return carriedOut(before, switchOff(channel));
}

Answer PanelModel::requestAllOn() {
    if (!open_)
        return Answer::refusal(Refusal::Closed);
    const std::uint64_t before = handedOver();
    return carriedOut(before, allOn());
}

Answer PanelModel::requestAllOff() {
    if (!open_)
        return Answer::refusal(Refusal::Closed);
    const std::uint64_t before = handedOver();
    return carriedOut(before, allOff());
}

Answer PanelModel::requestArm(int channel, const std::string& time) {
    if (const auto why = refusesChannel(channel))
        return Answer::refusal(*why);
    if (isArmed(channel))
        return Answer::refusal(Refusal::AlreadyArmed);
    return arm(channel, time) ? Answer{} : Answer::refusal(Refusal::NotATime);
}

Answer PanelModel::requestPulse(int channel, std::chrono::milliseconds length) {
    if (const auto why = refusesChannel(channel))
        return Answer::refusal(*why);
    if (isOn(channel))
        return Answer::refusal(Refusal::AlreadyOn);
    if (!core::pulseFits(length))
        return Answer::refusal(Refusal::NotAPulse);
    const std::uint64_t before = handedOver();
    pulseStep_ = true;
    const core::PortStatus written = switchOn(channel);
    pulseStep_ = false;
    pulse(channel)->start(length);
    return carriedOut(before, written);
}

Answer PanelModel::requestDisarm(int channel) {
    if (const auto why = refusesChannel(channel))
        return Answer::refusal(*why);
    if (!isArmed(channel))
        return Answer::refusal(Refusal::NotArmed);
    disarm(channel);
    return {};
}

} // namespace panel
