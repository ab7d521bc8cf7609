#include "clock_label.h"
#include "clock_text.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTime>

namespace scheduler {

QString longTimeFormat() {
    // The long format may end in a time-zone name ("t"), which does not fit
    // the label and says nothing about the time of day: leave it out.
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    format.replace(QRegularExpression(QStringLiteral("\\s*\\(?t+\\)?\\s*")), QStringLiteral(" "));
    return format.simplified();
}

QString clockLabelText(const platform::Clock& clock) {
    const std::int64_t ms = clock.localMsecs();
    const std::int64_t msPerDay = SecondsPerDay * MsPerSecond;
    const auto ofDay = static_cast<int>(((ms % msPerDay) + msPerDay) % msPerDay);
    // The label ticks every second; derive the format only when the locale changes.
    static QString localeName, format;
    const QLocale locale;
    if (format.isEmpty() || locale.name() != localeName) {
        localeName = locale.name();
        format = longTimeFormat();
    }
    return locale.toString(QTime::fromMSecsSinceStartOfDay(ofDay), format);
}

} // namespace scheduler
