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
} // namespace

TimerPanel::TimerPanel(const PanelWidgets& widgets, const core::Clock& clock, core::Beeper& beeper,
                       Switch switchChannel, QObject* parent)
    : QObject(parent), w_(widgets), clock_(clock), beeper_(beeper),
      switch_(std::move(switchChannel)) {
    for (int channel = 1; channel <= RowCount; ++channel) {
        const RowWidgets& row = this->widgets(channel);
        row.timer->setInterval(RowIntervals[at(channel)]);
        row.timer->setTimerType(Qt::PreciseTimer);
        setLook(row.text, idleColour());
    }
}

void TimerPanel::setPanelVisible(bool visible) {
    for (const RowWidgets& row : w_.rows)
        row.check->setVisible(visible);
    for (const RowWidgets& row : w_.rows)
        row.text->setVisible(visible);
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

void TimerPanel::stop() {
    stopped_ = true;
    for (const RowWidgets& row : w_.rows)
        row.timer->stop();
}

void TimerPanel::setLook(QLineEdit* text, const QColor& background) {
    // The text colour goes with the background, so a dark desktop theme's
    // light text never lands on the bright red or green.
    QPalette palette = text->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, background);
        palette.setColor(group, QPalette::Text, Qt::black);
    }
    text->setPalette(palette);
}

void TimerPanel::Check_Click(int channel) {
    if (widgets(channel).check->checkState() == Qt::Checked)
        arm(channel);
    else
        disarm(channel);
}

void TimerPanel::arm(int channel) {
    const RowWidgets& w = widgets(channel);
    const std::string time = w.text->text().toStdString();
    const std::optional<int> second = secondOfDay(time);
    // A text that is not a clock text could never fire: refuse it rather
    // than show a green row that will never switch.
    if (!second) {
        refuse(channel);
        return;
    }
    Row& row = rows_[at(channel)];
    row.armed = true;
    row.time = time;
    row.second = *second;
    row.checkedSince = clock_.localMsecs();
    w.timer->start();
    setLook(w.text, armedColour());
    w.text->setReadOnly(true);
    keepInPhase(channel, row.checkedSince);
    emit rowChanged(channel);
}

void TimerPanel::refuse(int channel) {
    {
        // The refusal keeps the typed text for correction, so the disarm
        // branch (which resets it) must not run for this change.
        const QSignalBlocker block(widgets(channel).check);
        widgets(channel).check->setCheckState(Qt::Unchecked);
    }
    beeper_.beep();
}

void TimerPanel::disarm(int channel) {
    const RowWidgets& w = widgets(channel);
    Row& row = rows_[at(channel)];
    row.armed = false;
    row.time.clear();
    w.timer->stop();
    w.text->setReadOnly(false);
    w.text->setText(IdleText);
    setLook(w.text, idleColour());
    emit rowChanged(channel);
}

void TimerPanel::Timer_Timer(int channel) {
    Row& row = rows_[at(channel)];
    if (!row.armed || stopped_)
        return;
    const RowWidgets& w = widgets(channel);
    const std::int64_t now = clock_.localMsecs();
    const std::int64_t since = row.checkedSince;
    row.checkedSince = now;
    if (!dueBetween(row.second, since, now)) {
        keepInPhase(channel, now);
        return;
    }
    switch_(channel);
    w.timer->stop();
    w.text->setReadOnly(false);
    w.check->setCheckState(Qt::Unchecked); // runs Check_Click: disarm
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
        QTimer* timer = widgets(channel).timer;
        if (!r.armed || stopped_ || !timer->isActive())
            return;
        timer->start(); // restart the period from this aligned moment
        Timer_Timer(channel);
    });
}

} // namespace scheduler
