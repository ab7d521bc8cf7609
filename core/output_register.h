#pragma once
// What the program believes about the relay board: one output value and one
// "off" flag per channel, and the single operation that writes the port.
//
// The arithmetic deliberately mirrors the board's original driver: weights
// are added and subtracted in 16-bit signed arithmetic (not OR-ed), an
// overflowing result keeps the old value, and a value outside 0..255 is
// never written (never masked or wrapped to a byte).

#include "channels.h"
#include "port_output.h"

#include <array>
#include <cstdint>

namespace core {

class OutputRegister {
  public:
    static constexpr std::uint16_t OutputPort = ParallelDataPort;

    explicit OutputRegister(PortOutput& port) : port_(port) {}

    std::int16_t PortValue() const { return portValue_; }
    Flag ChannelOff(int channel) const { return channelOff_.at(index(channel)); }

    // Hands PortValue to the port if it fits in a byte, and answers with what
    // the port made of it; otherwise writes nothing and answers so.
    PortStatus WriteOutput();

    // 16-bit arithmetic; a result outside -32768..32767 keeps the old value.
    void addWeight(int channel);
    void subtractWeight(int channel);
    void setPortValue(std::int16_t value) { portValue_ = value; }

    void invertChannelOff(int channel);
    void setChannelOff(int channel, Flag value) { channelOff_.at(index(channel)) = value; }
    // Sets ChannelOff(1)..ChannelOff(ChannelCount), in that order.
    void setAllChannelOff(Flag value);

    // Start-up: all flags true, PortValue 0, WriteOutput.
    PortStatus startupReset();
    // Before the program ends: PortValue 0, WriteOutput. Flags stay as they are.
    PortStatus resetForExit();

  private:
    static std::size_t index(int channel);
    void changeBy(int delta);

    PortOutput& port_;
    std::int16_t portValue_ = 0;
    std::array<Flag, ChannelCount> channelOff_ = allFlags(TrueFlag);

    static constexpr std::array<Flag, ChannelCount> allFlags(Flag value) {
        std::array<Flag, ChannelCount> flags{};
        flags.fill(value);
        return flags;
    }
};

} // namespace core
