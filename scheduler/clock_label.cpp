#include "clock_label.h"
#include "clock_text.h"

#include <QLocale>
#include <QTime>

namespace scheduler {

QString withoutTimeZone(const QString& format) {
    // Each run of "t", with the brackets and blanks around it, becomes one blank.
    QString result;
    for (qsizetype i = 0; i < format.size();) {
        if (format[i] != u't') {
            result += format[i++];
            continue;
        }
        while (!result.isEmpty() && (result.back().isSpace() || result.back() == u'('))
            result.chop(1);
        while (i < format.size() && format[i] == u't')
            ++i;
        while (i < format.size() && (format[i].isSpace() || format[i] == u')'))
            ++i;
        result += u' ';
    }
    return result.simplified();
}

QString longTimeFormat() {
    // The long format may end in a time-zone name ("t"), which does not fit
    // the label and says nothing about the time of day: leave it out.
    return withoutTimeZone(QLocale().timeFormat(QLocale::LongFormat));
}

QString clockLabelText(const core::Clock& clock) {
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
