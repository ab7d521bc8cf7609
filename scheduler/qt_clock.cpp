#include "qt_clock.h"

#include <QDateTime>

namespace scheduler {

std::int64_t SystemClock::localMsecs() const {
    const QDateTime now = QDateTime::currentDateTime();
    return now.toMSecsSinceEpoch() + std::int64_t{now.offsetFromUtc()} * 1000;
}

} // namespace scheduler
