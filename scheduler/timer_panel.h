#pragma once
// The timer panel: one row per channel (check box, time text box, polling
// timer). Setting a row's check box arms it; on each tick of the row's timer
// the row fires once if its time of day came since the row's previous tick,
// switches its channel through the callback and disarms itself.
//
// The panel keeps each row's state (armed or not, the armed time, when it
// last looked at the clock) and drives the row's widgets from it.
//
// Ticks are phase-aligned to the wall clock: each armed row's timer is
// restarted just after a second boundary, and again whenever its ticks drift,
// so every channel switches within a few milliseconds of the start of its
// second whatever its interval.

#include "core/beeper.h"
#include "core/channels.h"
#include "core/clock.h"

#include <QColor>
#include <QObject>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace scheduler {

inline constexpr int RowCount = core::ChannelCount;
// The fixed polling interval of each channel's timer, in ms.
inline constexpr std::array<int, RowCount> RowIntervals{10, 100, 500, 1000};
inline constexpr const char* IdleText = "hh:mm:ss";

struct RowWidgets {
    QCheckBox* check = nullptr;
    QLineEdit* text = nullptr;
    QTimer* timer = nullptr;
};

struct PanelWidgets {
    std::array<RowWidgets, RowCount> rows{};
    QLabel* hint = nullptr;
    QPushButton* timerModeButton = nullptr;  // "&Timer Mode"
    QPushButton* simpleModeButton = nullptr; // "&Simple Mode"
};

class TimerPanel : public QObject {
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

    // Gives every row its idle look.
    TimerPanel(const PanelWidgets& widgets, const core::Clock& clock, core::Beeper& beeper,
               Switch switchChannel, QObject* parent = nullptr);

    // Handlers, by the names of the controls that raise them. The owner
    // connects each row's timer to Timer_Timer and each check box's state
    // change (not its click: code that clears a box must disarm it too) to
    // Check_Click.
    void Command12_Click(); // "&Timer Mode": show the panel, swap the mode buttons
    void Command13_Click(); // "&Simple Mode": hide the panel, swap back
    void TM_Click();        // show the panel only
    void SM_Click();        // hide the panel only
    void Check_Click(int channel);
    void Timer_Timer(int channel);

    const Row& row(int channel) const { return rows_.at(at(channel)); }
    bool isArmed(int channel) const { return row(channel).armed; }
    // Stops every row's polling for good: nothing fires any more.
    void stop();

    static QColor idleColour() { return {255, 0, 0}; }
    static QColor armedColour() { return {0, 255, 0}; }

  signals:
    // A row was armed or went idle.
    void rowChanged(int channel);

  private:
    static std::size_t at(int channel) { return static_cast<std::size_t>(channel - 1); }
    const RowWidgets& widgets(int channel) const { return w_.rows.at(at(channel)); }
    void setPanelVisible(bool visible);
    void arm(int channel);
    void disarm(int channel);
    void refuse(int channel);
    void keepInPhase(int channel, std::int64_t nowMsecs);
    static void setLook(QLineEdit* text, const QColor& background);

    PanelWidgets w_;
    const core::Clock& clock_;
    core::Beeper& beeper_;
    Switch switch_;
    std::array<Row, RowCount> rows_{};
    bool stopped_ = false;
};

} // namespace scheduler
