#include "model_link.h"

#include "core/channels.h"
#include "panel/panel_model.h"
#include "panel/refusal_text.h"

namespace remote::mqtt {

ModelLink::ModelLink(panel::PanelModel& model, QObject* parent) : PanelLink(parent), model_(model) {
    connect(&model_, &panel::PanelModel::channelsChanged, this, &ModelLink::refresh);
    connect(&model_, &panel::PanelModel::rowChanged, this, &ModelLink::refresh);
    connect(&model_, &panel::PanelModel::portChanged, this, &ModelLink::refresh);
}

void ModelLink::start() {
    state_ = read();
    emit appeared();
}

PanelState ModelLink::read() const {
    PanelState state;
    for (int n = 1; n <= core::ChannelCount; ++n) {
        state.on << model_.isOn(n);
        state.armed << QString::fromStdString(model_.armedTime(n));
    }
    state.failing = model_.portFailing();
    if (state.failing)
        state.reason = QString::fromStdString(model_.portStatus().describe());
    return state;
}

void ModelLink::refresh() {
    if (!state_)
        return;
    const PanelState before = *state_;
    state_ = read();
    emit changed(before);
}

void ModelLink::request(Command command, int channel, const QString& time,
                        std::chrono::milliseconds pulse, Answered answered) {
    panel::Answer answer;
    switch (command) {
    case Command::SwitchOn:
        answer = model_.requestSwitchOn(channel);
        break;
    case Command::SwitchOff:
        answer = model_.requestSwitchOff(channel);
        break;
    case Command::AllOn:
        answer = model_.requestAllOn();
        break;
    case Command::AllOff:
        answer = model_.requestAllOff();
        break;
    case Command::Arm:
        answer = model_.requestArm(channel, time.toStdString());
        break;
    case Command::Disarm:
        answer = model_.requestDisarm(channel);
        break;
    case Command::Pulse:
        answer = model_.requestPulse(channel, pulse);
        break;
    }
    answered(answer.refused ? panel::refusalText(model_, *answer.refused, channel, time)
                            : QString());
}

} // namespace remote::mqtt
