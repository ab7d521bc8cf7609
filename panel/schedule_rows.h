#pragma once
// The timer panel's rows without their widgets: one per channel, armed with a
// clock text. On each tick of the row's timer the row fires once if its time
// of day came since the row's previous tick, switches its channel through the
// callback and goes idle again.
//
// Ticks are phase-aligned to the wall clock: each armed row's timer is
// restarted just after a second boundary, and again whenever its ticks drift,
// so every channel switches within a few milliseconds of the start of its
// second whatever its interval.

#include "core/beeper.h"
#include "core/channels.h"
#include "core/clock.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QTimer;

namespace panel {

inline constexpr int RowCount = core::ChannelCount;
// The fixed polling interval of each channel's timer, in ms.
inline constexpr std::array<int, RowCount> RowIntervals{10, 100, 500, 1000};
// What an idle row's text box shows.
inline constexpr const char* IdleText = "hh:mm:ss";

class ScheduleRows : public QObject {
    Q_OBJECT
  public:
    using Switch = std::function<void(int channel)>;

    struct Row {
        bool armed = false;
        std::string time;              // the text the row was armed with
        int second = 0;                // the second of the day that text names
        std::int64_t checkedSince = 0; // local ms of the arming or the last tick
        bool realignPending = false;
    };

    // The rows' timers are Timer2..Timer(RowCount + 1), children of this object.
    ScheduleRows(const core::Clock& clock, core::Beeper& beeper, Switch switchChannel,
                 QObject* parent = nullptr);

    // Arms the row with `time`. A text that is not a clock text could never
    // fire: it is refused with a beep and the row stays as it was.
    bool arm(int channel, const std::string& time);
    void disarm(int channel);
    // The row's timer tick.
    void Timer_Timer(int channel);
    // Stops every row's polling for good: nothing fires any more.
    void stop();

    const Row& row(int channel) const { return rows_.at(at(channel)); }
    bool isArmed(int channel) const { return row(channel).armed; }
    QTimer* timer(int channel) const { return timers_.at(at(channel)); }

  signals:
    // A row was armed or went idle.
    void rowChanged(int channel);

  private:
    static std::size_t at(int channel) { return static_cast<std::size_t>(channel - 1); }
    void keepInPhase(int channel, std::int64_t nowMsecs);

    const core::Clock& clock_;
    core::Beeper& beeper_;
    Switch switch_;
    std::array<Row, RowCount> rows_{};
    std::array<QTimer*, RowCount> timers_{};
    bool stopped_ = false;
};

} // namespace panel
