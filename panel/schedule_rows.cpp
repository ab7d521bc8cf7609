#include "schedule_rows.h"

#include "scheduler/clock_text.h"

#include <QTimer>

namespace panel {
namespace {
// Ticks land this long after the second boundary, so the clock text read in
// the tick already names the new second.
constexpr std::int64_t PhaseMarginMs = 1;
// A tick further than this from its aligned phase restarts the timer.
constexpr std::int64_t PhaseToleranceMs = 2;
} // namespace

ScheduleRows::ScheduleRows(const core::Clock& clock, core::Beeper& beeper, Switch switchChannel,
                           QObject* parent)
    : QObject(parent), clock_(clock), beeper_(beeper), switch_(std::move(switchChannel)) {
    for (int channel = 1; channel <= RowCount; ++channel) {
        auto* timer = new QTimer(this);
        timer->setObjectName(QString("Timer%1").arg(channel + 1));
        timer->setInterval(RowIntervals[at(channel)]);
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, [this, channel] { Timer_Timer(channel); });
        timers_[at(channel)] = timer;
    }
}

void ScheduleRows::stop() {
    stopped_ = true;
    for (QTimer* timer : timers_)
        timer->stop();
}

bool ScheduleRows::arm(int channel, const std::string& time) {
    const std::optional<int> second = scheduler::secondOfDay(time);
    if (!second) {
        beeper_.beep();
        return false;
    }
    Row& row = rows_[at(channel)];
    row.armed = true;
    row.time = time;
    row.second = *second;
    row.checkedSince = clock_.localMsecs();
    timer(channel)->start();
    keepInPhase(channel, row.checkedSince);
    emit rowChanged(channel);
    return true;
}

void ScheduleRows::disarm(int channel) {
    Row& row = rows_[at(channel)];
    row.armed = false;
    row.time.clear();
    timer(channel)->stop();
    emit rowChanged(channel);
}

void ScheduleRows::Timer_Timer(int channel) {
    Row& row = rows_[at(channel)];
    if (!row.armed || stopped_)
        return;
    const std::int64_t now = clock_.localMsecs();
    const std::int64_t since = row.checkedSince;
    row.checkedSince = now;
    if (!scheduler::dueBetween(row.second, since, now)) {
        keepInPhase(channel, now);
        return;
    }
    switch_(channel);
    disarm(channel);
}

void ScheduleRows::keepInPhase(int channel, std::int64_t nowMsecs) {
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
        QTimer* t = timer(channel);
        if (!r.armed || stopped_ || !t->isActive())
            return;
        t->start(); // restart the period from this aligned moment
        Timer_Timer(channel);
    });
}

} // namespace panel
