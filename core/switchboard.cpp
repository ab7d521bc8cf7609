#include "switchboard.h"

namespace core {

void Switchboard::switchOn(int channel) {
    beeper_.beep();
    reg_.addWeight(channel);
    reg_.WriteOutput();
    reg_.invertChannelOff(channel);
    faces_.setOffFaceVisible(channel, true);
    faces_.setOnFaceVisible(channel, false);
}

void Switchboard::switchOff(int channel) {
    beeper_.beep();
    reg_.subtractWeight(channel);
    reg_.WriteOutput();
    reg_.invertChannelOff(channel);
    faces_.setOnFaceVisible(channel, true);
    faces_.setOffFaceVisible(channel, false);
}

void Switchboard::allOn() {
    beeper_.beep();
    reg_.setPortValue(AllOnValue);
    reg_.WriteOutput();
    reg_.setAllChannelOff(FalseFlag);
    for (int channel = 1; channel <= ChannelCount; ++channel)
        faces_.setOffFaceVisible(channel, true);
    for (int channel = 1; channel <= ChannelCount; ++channel)
        faces_.setOnFaceVisible(channel, false);
}

void Switchboard::allOff() {
    beeper_.beep();
    reg_.setPortValue(0);
    reg_.WriteOutput();
    reg_.setAllChannelOff(TrueFlag);
    for (int channel = 1; channel <= ChannelCount; ++channel)
        faces_.setOnFaceVisible(channel, true);
    for (int channel = 1; channel <= ChannelCount; ++channel)
        faces_.setOffFaceVisible(channel, false);
}

void Switchboard::scheduledToggle(int channel) {
    if (reg_.ChannelOff(channel) != FalseFlag) {
        reg_.addWeight(channel);
        reg_.WriteOutput();
        faces_.setOnFaceVisible(channel, false);
        faces_.setOffFaceVisible(channel, true);
    } else {
        reg_.subtractWeight(channel);
        reg_.WriteOutput();
        faces_.setOnFaceVisible(channel, true);
        faces_.setOffFaceVisible(channel, false);
    }
    reg_.invertChannelOff(channel);
}

} // namespace core
