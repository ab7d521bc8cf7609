#pragma once
// The panel without its window: the output register and the channels' flags,
// the switching commands, the timer rows, the port's health and whether the
// panel still switches at all. The window shows this state and hands its
// user's actions here; the session bus and any other front end drive the
// same object, with or without a window.
//
// The window's own steps (switchOn, arm, ...) run as its handlers do, with
// their beep and their write, and are offered only where the window offers
// the control. A front end's requests (request*) are checked first and
// answered: refused with the reason, or carried out, a switch with the status
// of its own write.
//
// Each aspect of the state announces its own change, once the step that
// moved it has run to its end.

#include "panel/port_health.h"
#include "panel/schedule_rows.h"

#include "core/beeper.h"
#include "core/clock.h"
#include "core/output_register.h"
#include "core/port_output.h"
#include "core/switchboard.h"
#include "platform/qt/device_thread.h"

#include <QObject>

class QTimer;

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace panel {

// Why a front end's request changed nothing.
enum class Refusal {
    Closed,        // the panel's window was closed: it switches nothing more
    NoSuchChannel, // outside 1..core::ChannelCount
    AlreadyOn,     // there is no ON face to press on a channel that is on
    AlreadyOff,
    AlreadyArmed,
    NotATime, // the row refused the text, with its beep
    NotArmed,
    NotAPulse, // a pulse shorter than core::ShortestPulse or longer than core::LongestPulse
};

// A request's answer: refused with its reason, or carried out; a switching
// request carries the status of its own write. Where the board is on a
// thread of its own, that status comes later: `write` is the number of the
// write to wait for (writeAnswered()), 0 when the status is here already.
struct Answer {
    std::optional<Refusal> refused;
    core::PortStatus written;
    std::uint64_t write = 0;

    bool accepted() const { return !refused; }
    static Answer refusal(Refusal why) { return {why, {}, 0}; }
};

class PanelModel : public QObject, private core::ChannelFaces {
    Q_OBJECT
  public:
    struct Services {
        core::PortOutput& port;
        core::Beeper& beeper;
        const core::Clock& clock;
        // The board's thread, when the port hands its writes to one.
        platform::DeviceThread* device = nullptr;
    };

    explicit PanelModel(Services services, QObject* parent = nullptr);

    // ---- the window's steps, each answering with its own write ----------
    core::PortStatus startupReset(); // Form_Load: flags set, PortValue 0
    // Instead of startupReset, where the outputs were read from the board:
    // the channels take them as they are, and nothing is written.
    void adoptOutputs(std::uint8_t value);
    core::PortStatus switchOn(int channel);  // the ON face of `channel`
    core::PortStatus switchOff(int channel); // the OFF face
    core::PortStatus allOn();                // All On, Emergency Mode ALL ON
    core::PortStatus allOff();               // All Off, Emergency Mode ALL OFF
    core::PortStatus resetForExit();         // "&X": PortValue 0 before the end
    bool arm(int channel, const std::string& time);
    void disarm(int channel);
    // Nothing switches any more, by row, retry or request; the port keeps its
    // last byte. For good.
    void close();

    // ---- a front end's requests, checked and answered --------------------
    Answer requestSwitchOn(int channel);
    Answer requestSwitchOff(int channel);
    Answer requestAllOn();
    Answer requestAllOff();
    Answer requestArm(int channel, const std::string& time);
    Answer requestDisarm(int channel);
    // The channel's ON button, then after `length` its OFF button; refused
    // while the channel is on. Any other switch of the channel drops the
    // pending OFF; close() writes it at once.
    Answer requestPulse(int channel, std::chrono::milliseconds length);

    // The outcome of a port write, as the port monitor reports each change of it.
    void showPortStatus(const core::PortStatus& status) { health_.showStatus(status); }
    // Who shows the faces, told of each face step as it happens; may be none.
    void setFaces(core::ChannelFaces* faces) { faces_ = faces; }

    // ---- state ------------------------------------------------------------
    std::int16_t portValue() const { return register_.PortValue(); }
    // True while the channel's OFF face shows.
    bool isOn(int channel) const { return on_.at(static_cast<std::size_t>(channel - 1)); }
    bool isArmed(int channel) const { return rows_.isArmed(channel); }
    // True while a pulse's OFF is pending.
    bool isPulsing(int channel) const;
    // The time the row was armed with; empty while it is idle.
    const std::string& armedTime(int channel) const { return rows_.row(channel).time; }
    bool portFailing() const { return health_.failing(); }
    const core::PortStatus& portStatus() const { return health_.lastStatus(); }
    // False for good once close() ran.
    bool isOpen() const { return open_; }

    const core::OutputRegister& outputRegister() const { return register_; }
    ScheduleRows& rows() { return rows_; }
    PortHealth& health() { return health_; }

  signals:
    void channelsChanged(); // portValue() and isOn()
    void rowChanged(int channel);
    void portChanged(); // portFailing() and portStatus()
    void openChanged();
    // Every write up to `upTo` came to `status` (see Answer::write).
    void writeAnswered(std::uint64_t upTo, const core::PortStatus& status);

  private:
    void setOnFaceVisible(int channel, bool visible) override;
    void setOffFaceVisible(int channel, bool visible) override;
    std::optional<Refusal> refusesChannel(int channel) const;
    core::PortStatus switched(core::PortStatus written);
    std::uint64_t handedOver() const;
    Answer carriedOut(std::uint64_t before, core::PortStatus written) const;
    QTimer* pulse(int channel) const { return pulses_.at(static_cast<std::size_t>(channel - 1)); }
    void endPulse(int channel);

    Services services_;
    core::OutputRegister register_;
    core::Switchboard switchboard_;
    ScheduleRows rows_;
    PortHealth health_;
    std::array<bool, core::ChannelCount> on_{};
    std::array<QTimer*, core::ChannelCount> pulses_{};
    bool pulseStep_ = false; // a pulse's own ON or OFF is under way
    core::ChannelFaces* faces_ = nullptr;
    bool open_ = true;
};

} // namespace panel
