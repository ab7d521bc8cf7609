#include "refusal_text.h"

#include "core/pulse.h"

namespace panel {
namespace {

// A caller's text, fit to be quoted in a one-line answer.
QString quoted(const QString& text) {
    QString shown = text.left(40);
    for (QChar& c : shown)
        if (c.category() == QChar::Other_Control)
            c = u'?';
    return '"' + shown + (text.size() > 40 ? "...\"" : "\"");
}

} // namespace

QString refusalText(const PanelModel& model, Refusal why, int channel, const QString& time) {
    switch (why) {
    case Refusal::Closed:
        return "The panel's window was closed; it switches nothing more.";
    case Refusal::NoSuchChannel:
        return QString("There is no channel %1; channels are 1 to %2.")
            .arg(channel)
            .arg(core::ChannelCount);
    case Refusal::AlreadyOn:
        return QString("Channel %1 is already on.").arg(channel);
    case Refusal::AlreadyOff:
        return QString("Channel %1 is already off.").arg(channel);
    case Refusal::AlreadyArmed:
        return QString("Channel %1 is already armed for %2; cancel it first.")
            .arg(channel)
            .arg(QString::fromStdString(model.armedTime(channel)));
    case Refusal::NotATime:
        return QString("%1 is not a time of day as HH:MM:SS (24-hour, two digits each: 6 pm is "
                       "18:00:00).")
            .arg(quoted(time));
    case Refusal::NotArmed:
        return QString("Channel %1 is not armed.").arg(channel);
    case Refusal::NotAPulse:
        return QString("A pulse lasts from %1 to %2.")
            .arg(QString::fromStdString(core::pulseText(core::ShortestPulse)),
                 QString::fromStdString(core::pulseText(core::LongestPulse)));
    }
    return {};
}

} // namespace panel
