#include "output_register.h"

#include <limits>
#include <stdexcept>
#include <string>

namespace core {

std::size_t OutputRegister::index(int channel) {
    if (channel < 1 || channel > ChannelCount)
        throw std::out_of_range("channel must be 1 to " + std::to_string(ChannelCount));
    return static_cast<std::size_t>(channel - 1);
}

PortStatus OutputRegister::WriteOutput() {
    if (portValue_ < 0 || portValue_ > 255)
        return PortStatus::failure("",
                                   "nothing was written: the output value " +
                                       std::to_string(portValue_) + " is not a byte",
                                   "");
    return port_.PortOut(OutputPort, static_cast<std::uint8_t>(portValue_));
}

void OutputRegister::changeBy(int delta) {
    const int result = portValue_ + delta;
    if (result < std::numeric_limits<std::int16_t>::min() ||
        result > std::numeric_limits<std::int16_t>::max())
        return;
    portValue_ = static_cast<std::int16_t>(result);
}

void OutputRegister::addWeight(int channel) {
    index(channel);
    changeBy(weight(channel));
}

void OutputRegister::subtractWeight(int channel) {
    index(channel);
    changeBy(-weight(channel));
}

void OutputRegister::invertChannelOff(int channel) {
    Flag& flag = channelOff_[index(channel)];
    flag = static_cast<Flag>(~flag);
}

void OutputRegister::setAllChannelOff(Flag value) {
    for (Flag& flag : channelOff_)
        flag = value;
}

PortStatus OutputRegister::startupReset() {
    setAllChannelOff(TrueFlag);
    portValue_ = 0;
    return WriteOutput();
}

PortStatus OutputRegister::resetForExit() {
    portValue_ = 0;
    return WriteOutput();
}

} // namespace core
