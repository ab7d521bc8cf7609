#pragma once
// The switching commands shared by the buttons, the Emergency menu and the
// scheduler. Each runs its steps in a fixed order: beep (manual only), change
// PortValue, WriteOutput, update the flags, then swap the faces. The faces
// are the only visible record of a channel's state, so they are updated last,
// after the register agrees with what they will show.

#include "beeper.h"
#include "output_register.h"

namespace core {

// The ON/OFF button pair of each channel, as the window shows it.
class ChannelFaces {
  public:
    virtual ~ChannelFaces() = default;
    virtual void setOnFaceVisible(int channel, bool visible) = 0;
    virtual void setOffFaceVisible(int channel, bool visible) = 0;
};

class Switchboard {
  public:
    Switchboard(OutputRegister& reg, Beeper& beeper, ChannelFaces& faces)
        : reg_(reg), beeper_(beeper), faces_(faces) {}

    // Each answers with the outcome of its own write.
    PortStatus switchOn(int channel);  // the ON button of `channel`
    PortStatus switchOff(int channel); // the OFF button of `channel`
    PortStatus allOn();                // PortValue AllOnValue, all flags false, OFF faces
    PortStatus allOff();               // PortValue 0, all flags true, ON faces
    // The scheduled switch: no beep, direction from ChannelOff alone.
    PortStatus scheduledToggle(int channel);

    OutputRegister& outputRegister() { return reg_; }

  private:
    OutputRegister& reg_;
    Beeper& beeper_;
    ChannelFaces& faces_;
};

} // namespace core
