#pragma once
// The main window as seen by whatever drives it from outside: the session-bus
// service, and any other bridge or request to come. A front end commands the
// panel and reads its state here only; it never reaches for a button, a text
// box or a check box. Which control a command clicks, and which control tells
// the state, is the window's business, kept in one place.
//
// A command runs the window's own handler for the control it stands for, on
// the window's thread, as a click would: with its beep, its port write and its
// faces. The window carries out what it is handed, so a front end reads the
// state first and turns down what the window would not offer: a channel
// outside 1..core::ChannelCount, the ON face of a channel that is on, the OFF
// face of one that is off, arming an armed row, disarming an idle one, and
// anything once the window is closed.
//
// changed() names the aspect of the state that moved, once the handler that
// moved it has run to its end; each aspect is announced on its own, so no
// announcement shows a handler half done.

#include "core/channels.h"
#include "core/port_output.h"

#include <QObject>
#include <QString>

#include <cstdint>

namespace ui {

class PanelControl : public QObject {
    Q_OBJECT
  public:
    enum class Aspect {
        Channels, // portValue() and isOn()
        Rows,     // isArmed() and armedTime()
        Port,     // portFailing() and portError()
        Open,     // isOpen()
    };
    Q_ENUM(Aspect)

    // The switching commands answer with what the board made of their own
    // write, not with whatever was written last.
    // The ON face of `channel`, while the channel is off.
    virtual core::PortStatus switchOn(int channel) = 0;
    // The OFF face of `channel`, while the channel is on.
    virtual core::PortStatus switchOff(int channel) = 0;
    // Emergency Mode, ALL ON and ALL OFF: the All On / All Off buttons stay as they are.
    virtual core::PortStatus allOn() = 0;
    virtual core::PortStatus allOff() = 0;
    // Types `time` into the idle row of `channel` and sets its check box, as the
    // user does. False when the row refuses the text (with its beep); the row
    // then shows again what it showed before, since nobody at the window typed it.
    virtual bool arm(int channel, const QString& time) = 0;
    // Clears the check box of the armed row of `channel`.
    virtual void disarm(int channel) = 0;
    // Brings the window to the front, un-minimised and active: a second panel
    // for the same board hands the user this one instead.
    virtual void bringToFront() = 0;

    // The value last handed to the port.
    virtual std::int16_t portValue() const = 0;
    // True while the channel's OFF face shows.
    virtual bool isOn(int channel) const = 0;
    virtual bool isArmed(int channel) const = 0;
    // The time the row was armed with; empty while it is idle.
    virtual QString armedTime(int channel) const = 0;
    // True while the last write to the relay board failed, and why, with what fixes it.
    virtual bool portFailing() const = 0;
    virtual QString portError() const = 0; // empty while writes work
    // False for good once the window manager or the session closed the window:
    // its timers have stopped and it writes nothing more.
    virtual bool isOpen() const = 0;

  signals:
    void changed(ui::PanelControl::Aspect aspect);

  protected:
    using QObject::QObject;
};

} // namespace ui
