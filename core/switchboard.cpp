#include "switchboard.h"

namespace core {

PortStatus Switchboard::switchOn(int channel) {
    beeper_.beep();
    reg_.addWeight(channel);
    PortStatus written = reg_.WriteOutput();
    reg_.invertChannelOff(channel);
    faces_.setOffFaceVisible(channel, true);
    faces_.setOnFaceVisible(channel, false);
    return written;
}

PortStatus Switchboard::switchOff(int channel) {
    beeper_.beep();
    reg_.subtractWeight(channel);
    PortStatus written = reg_.WriteOutput();
    reg_.invertChannelOff(channel);
    faces_.setOnFaceVisible(channel, true);
    faces_.setOffFaceVisible(channel, false);
    return written;
}

PortStatus Switchboard::allOn() {
    beeper_.beep();
    reg_.setPortValue(AllOnValue);
    PortStatus written = reg_.WriteOutput();
    reg_.setAllChannelOff(FalseFlag);
    for (int channel = 1; channel <= ChannelCount; ++channel)
        faces_.setOffFaceVisible(channel, true);
    for (int channel = 1; channel <= ChannelCount; ++channel)
        faces_.setOnFaceVisible(channel, false);
    return written;
}

PortStatus Switchboard::allOff() {
    beeper_.beep();
    reg_.setPortValue(0);
    PortStatus written = reg_.WriteOutput();
    reg_.setAllChannelOff(TrueFlag);
    for (int channel = 1; channel <= ChannelCount; ++channel)
        faces_.setOnFaceVisible(channel, true);
    for (int channel = 1; channel <= ChannelCount; ++channel)
        faces_.setOffFaceVisible(channel, false);
    return written;
}

PortStatus Switchboard::scheduledToggle(int channel) {
    PortStatus written;
    if (reg_.ChannelOff(channel) != FalseFlag) {
        reg_.addWeight(channel);
        written = reg_.WriteOutput();
        faces_.setOnFaceVisible(channel, false);
        faces_.setOffFaceVisible(channel, true);
    } else {
        reg_.subtractWeight(channel);
        written = reg_.WriteOutput();
        faces_.setOnFaceVisible(channel, true);
        faces_.setOffFaceVisible(channel, false);
    }
    reg_.invertChannelOff(channel);
    return written;
}

} // namespace core
