#pragma once
#include "core/clock.h"

#include <QString>

namespace scheduler {

// How often the clock label is refreshed.
inline constexpr int ClockIntervalMs = 1000;

// The clock label's text: the time of day in the user's long time format.
QString clockLabelText(const core::Clock& clock);
// The user's long time format without a time-zone name.
QString longTimeFormat();
// A time format with its time-zone names ("t", "tttt", "(t)") left out.
QString withoutTimeZone(const QString& format);

} // namespace scheduler
