#pragma once
// The timer panel: one row per channel (check box, time text box, polling
// timer). Setting a row's check box arms it; on each tick of the row's timer
// the row fires once if its time of day came since the row's previous tick,
// switches its channel through the callback and disarms itself.
//
// Ticks are phase-aligned to the wall clock: each armed row's timer is
// restarted just after a second boundary, and again whenever its ticks drift,
// so every channel switches within a few milliseconds of the start of its
// second whatever its interval.

#include "platform/beeper.h"
#include "platform/clock.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QWidget;

namespace scheduler {

inline constexpr int RowCount = 4;
// The fixed polling interval of each channel's timer, in ms.
inline constexpr std::array<int, RowCount> RowIntervals{10, 100, 500, 1000};
inline constexpr const char* IdleText = "hh:mm:ss";

struct PanelWidgets {
    std::array<QCheckBox*, RowCount> checks{};
    std::array<QLineEdit*, RowCount> texts{};
    std::array<QTimer*, RowCount> timers{};
    QLabel* hint = nullptr;
    QPushButton* timerModeButton = nullptr;  // "&Timer Mode"
    QPushButton* simpleModeButton = nullptr; // "&Simple Mode"
};

class TimerPanel : public QObject {
    Q_OBJECT
  public:
    using Switch = std::function<void(int channel)>;

    TimerPanel(const PanelWidgets& widgets, const platform::Clock& clock, platform::Beeper& beeper,
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

    bool isArmed(int channel) const;

    static QColor idleColour();
    static QColor armedColour();

  private:
    struct Row {
        std::int64_t checkedSince = 0; // local ms of the arming or the last tick
        bool realignPending = false;
    };

    void setPanelVisible(bool visible);
    void arm(int channel);
    void disarm(int channel);
    void refuse(int channel);
    void keepInPhase(int channel, std::int64_t nowMsecs);
    static void setBase(QLineEdit* text, const QColor& colour);

    PanelWidgets w_;
    const platform::Clock& clock_;
    platform::Beeper& beeper_;
    Switch switch_;
    std::array<Row, RowCount> rows_{};
};

} // namespace scheduler
