#include "timer_panel.h"
#include "clock_text.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

namespace scheduler {
namespace {
// Ticks land this long after the second boundary, so the clock text read in
// the tick already names the new second.
constexpr std::int64_t PhaseMarginMs = 1;
// A tick further than this from its aligned phase restarts the timer.
constexpr std::int64_t PhaseToleranceMs = 2;

std::size_t at(int channel) {
    return static_cast<std::size_t>(channel - 1);
}
} // namespace

TimerPanel::TimerPanel(const PanelWidgets& widgets, const platform::Clock& clock,
                       platform::Beeper& beeper, Switch switchChannel, QObject* parent)
    : QObject(parent), w_(widgets), clock_(clock), beeper_(beeper),
      switch_(std::move(switchChannel)) {
    for (int channel = 1; channel <= RowCount; ++channel) {
        QTimer* timer = w_.timers[at(channel)];
        timer->setInterval(RowIntervals[at(channel)]);
        timer->setTimerType(Qt::PreciseTimer);
    }
}

QColor TimerPanel::idleColour() {
    return QColor(255, 0, 0);
}
QColor TimerPanel::armedColour() {
    return QColor(0, 255, 0);
}

void TimerPanel::setPanelVisible(bool visible) {
    for (QCheckBox* check : w_.checks)
        check->setVisible(visible);
    for (QLineEdit* text : w_.texts)
        text->setVisible(visible);
    w_.hint->setVisible(visible);
}

void TimerPanel::Command12_Click() {
    setPanelVisible(true);
    w_.simpleModeButton->setVisible(true);
    w_.timerModeButton->setVisible(false);
}

void TimerPanel::Command13_Click() {
    setPanelVisible(false);
    w_.timerModeButton->setVisible(true);
    w_.simpleModeButton->setVisible(false);
}

void TimerPanel::TM_Click() {
    setPanelVisible(true);
}
void TimerPanel::SM_Click() {
    setPanelVisible(false);
}

bool TimerPanel::isArmed(int channel) const {
    return w_.timers[at(channel)]->isActive();
}

void TimerPanel::setBase(QLineEdit* text, const QColor& colour) {
    QPalette palette = text->palette();
    palette.setColor(QPalette::Base, colour);
    text->setPalette(palette);
}

void TimerPanel::Check_Click(int channel) {
    if (w_.checks[at(channel)]->checkState() == Qt::Checked)
        arm(channel);
    else
        disarm(channel);
}

void TimerPanel::arm(int channel) {
    QLineEdit* text = w_.texts[at(channel)];
    // A text that is not a clock text could never fire: refuse it rather
    // than show a green row that will never switch.
    if (!isClockText(text->text().toStdString())) {
        refuse(channel);
        return;
    }
    rows_[at(channel)] = Row{clock_.localMsecs(), false};
    w_.timers[at(channel)]->start();
    setBase(text, armedColour());
    text->setReadOnly(true);
    keepInPhase(channel, rows_[at(channel)].checkedSince);
}

void TimerPanel::refuse(int channel) {
    {
        // The refusal keeps the typed text for correction, so the disarm
        // branch (which resets it) must not run for this change.
        const QSignalBlocker block(w_.checks[at(channel)]);
        w_.checks[at(channel)]->setCheckState(Qt::Unchecked);
    }
    beeper_.beep();
}

void TimerPanel::disarm(int channel) {
    QLineEdit* text = w_.texts[at(channel)];
    w_.timers[at(channel)]->stop();
    text->setReadOnly(false);
    text->setText(IdleText);
    setBase(text, idleColour());
}

void TimerPanel::Timer_Timer(int channel) {
    QTimer* timer = w_.timers[at(channel)];
    QLineEdit* text = w_.texts[at(channel)];
    Row& row = rows_[at(channel)];
    const std::int64_t now = clock_.localMsecs();
    const std::int64_t since = row.checkedSince;
    row.checkedSince = now;
    if (!dueBetween(text->text().toStdString(), since, now)) {
        keepInPhase(channel, now);
        return;
    }
    switch_(channel);
    timer->stop();
    text->setReadOnly(false);
    w_.checks[at(channel)]->setCheckState(Qt::Unchecked); // runs Check_Click: disarm
}

void TimerPanel::keepInPhase(int channel, std::int64_t nowMsecs) {
    Row& row = rows_[at(channel)];
    const std::int64_t interval = RowIntervals[at(channel)];
    const std::int64_t phase =
        (((nowMsecs - PhaseMarginMs) % interval) + interval) % interval; // since last aligned point
    if (phase <= PhaseToleranceMs || row.realignPending)
        return;
    row.realignPending = true;
    const auto delay = static_cast<int>(interval - phase);
    QTimer::singleShot(delay, Qt::PreciseTimer, this, [this, channel] {
        Row& r = rows_[at(channel)];
        r.realignPending = false;
        QTimer* timer = w_.timers[at(channel)];
        if (!timer->isActive())
            return;
        timer->start(); // restart the period from this aligned moment
        Timer_Timer(channel);
    });
}

} // namespace scheduler
