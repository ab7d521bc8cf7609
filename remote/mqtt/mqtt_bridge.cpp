#include "mqtt_bridge.h"
#include "discovery.h"

#include "core/channels.h"
#include "core/pulse.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QRegularExpression>
#include <QSysInfo>
#include <QUuid>

#include <cstdio>

namespace remote::mqtt {
namespace {

constexpr qint64 QuietMs = 60000;

const QRegularExpression ChannelTopic("^channel/([1-9][0-9]{0,2})/(set|arm|pulse)$");
const QRegularExpression ClockShape("^[0-9]{2}:[0-9]{2}:[0-9]{2}$");

QByteArray onOff(bool on) {
    return on ? QByteArrayLiteral("ON") : QByteArrayLiteral("OFF");
}

// A caller's payload, fit to be quoted in one line.
QString shown(const QByteArray& payload) {
    QString text = QString::fromUtf8(payload.left(MaxPayload));
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control)
            c = u'?';
    return '"' + text + (payload.size() > MaxPayload ? "...\"" : "\"");
}

} // namespace

Bridge::Bridge(Settings settings, platform::mqtt::Client& client, PanelLink& panel, QObject* parent)
    : QObject(parent), settings_(std::move(settings)), client_(client), panel_(panel) {
    retry_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, &Bridge::connectToBroker);
    connect(&client_, &platform::mqtt::Client::connected, this, &Bridge::connected);
    connect(&client_, &platform::mqtt::Client::disconnected, this, &Bridge::disconnected);
    connect(&client_, &platform::mqtt::Client::message, this, &Bridge::message);
    // One client a device: two hosts of one name do not take turns.
    settings_.endpoint.clientId = "kavo-mqtt-" + stableIdOf(settings_);
    instance_ = QUuid::createUuid().toString(QUuid::WithoutBraces);
    settings_.endpoint.will = {topic("availability"), "offline", true};
    connect(&panel_, &PanelLink::appeared, this, &Bridge::publishAll);
    connect(&panel_, &PanelLink::vanished, this, &Bridge::publishAvailability);
    connect(&panel_, &PanelLink::changed, this, &Bridge::panelChanged);
}

Bridge::~Bridge() = default;

QString Bridge::topic(const QString& tail) const {
    return nodeTopic(settings_, tail);
}

void Bridge::start() {
    panel_.start();
    connectToBroker();
}

void Bridge::stop() {
    stopping_ = true;
    retry_.stop();
    if (client_.isConnected())
        client_.publish(topic("availability"), "offline", true);
    client_.disconnectCleanly();
}

// ---- the broker ------------------------------------------------------------

void Bridge::connectToBroker() {
    if (stopping_)
        return;
    QString whyNot;
    if (!client_.connectTo(settings_.endpoint, &whyNot))
        disconnected(whyNot);
}

void Bridge::connected() {
    retryMs_ = FirstRetryMs;
    said_.remove("broker");
    std::fprintf(stderr, "kavo-mqtt: connected to %s as node %s\n", qPrintable(settings_.broker),
                 qPrintable(settings_.nodeId));
    everConnected_ = true;
    // Commands first, so none published right after the states is missed.
    const QString node = topic(QString());
    client_.subscribe(node + "channel/+/set");
    client_.subscribe(node + "channel/+/arm");
    client_.subscribe(node + "channel/+/pulse");
    client_.subscribe(node + "all/set");
    client_.subscribe(settings_.statusTopic);
    // This device's configs as the broker keeps them: any this version no
    // longer announces is cleared when it arrives.
    client_.subscribe(settings_.discoveryPrefix + "/+/kavo_" + stableIdOf(settings_) + "/+/config");
    // Whose node id this is, for a bridge elsewhere that would take it too.
    publish(topic("owner"),
            QJsonDocument(QJsonObject{{"device", stableIdOf(settings_)}, {"instance", instance_}})
                .toJson(QJsonDocument::Compact));
    publishDiscovery();
    // Announced by node id before: cleared, so an upgraded install keeps one device.
    for (const QString& legacy : legacyConfigTopics(settings_))
        publish(legacy, {});
    publishAll();
}

void Bridge::disconnected(const QString& reason) {
    if (stopping_)
        return;
    say("broker", QString("cannot reach the broker %1 (%2); trying again, every %3 s at most")
                      .arg(settings_.broker, reason)
                      .arg(LastRetryMs / 1000));
    retry_.start(retryMs_);
    retryMs_ = std::min(retryMs_ * 2, LastRetryMs);
}

void Bridge::message(const QString& fullTopic, const QByteArray& payload, bool retained) {
    if (fullTopic == settings_.statusTopic) {
        // Home Assistant has (re)started and forgotten what it was told.
        if (payload == "online" && !retained)
            publishDiscovery();
        return;
    }
    if (fullTopic.endsWith("/config")) {
        if (retained && !payload.isEmpty() && !announced_.contains(fullTopic))
            publish(fullTopic, {});
        return;
    }
    // An old command replayed from the broker's store is never carried out:
    // it was meant for then, not for now.
    if (retained)
        return say(fullTopic, QString("ignored a retained command on %1: commands are never "
                                      "taken from the broker's store")
                                  .arg(fullTopic));
    if (payload.size() > MaxPayload)
        return say(fullTopic, QString("ignored %1 bytes on %2: more than %3")
                                  .arg(payload.size())
                                  .arg(fullTopic)
                                  .arg(MaxPayload));
    command(fullTopic, payload);
}

void Bridge::command(const QString& fullTopic, const QByteArray& payload) {
    const QString tail = fullTopic.mid(topic(QString()).size());
    QRegularExpressionMatch match = ChannelTopic.match(tail);
    if (match.hasMatch() && match.captured(1).toInt() > core::ChannelCount)
        match = {};
    const bool all = tail == "all/set";
    const bool set = all || (match.hasMatch() && match.captured(2) == "set");
    const bool arm = match.hasMatch() && match.captured(2) == "arm";
    const bool pulse = match.hasMatch() && match.captured(2) == "pulse";
    // A pulse button's press, or nothing: the channel's configured length.
    const bool pressed = payload.isEmpty() || payload == "PRESS";
    const std::optional<std::chrono::milliseconds> length =
        pressed ? std::nullopt : core::parsePulse(payload.toStdString());
    const bool known = set     ? payload == "ON" || payload == "OFF"
                       : arm   ? payload.isEmpty() || ClockShape.match(payload).hasMatch()
                       : pulse ? pressed || length
                               : false;
    if (!known)
        return say(fullTopic, QString("ignored %1 on %2: it takes %3")
                                  .arg(shown(payload), fullTopic,
                                       arm     ? "HH:MM:SS, or nothing to disarm"
                                       : pulse ? "a length such as 500ms or 2s, or nothing for the "
                                                 "configured one"
                                               : "ON or OFF"));
    if (!state())
        return say(fullTopic,
                   QString("ignored %1 on %2: no panel is running").arg(shown(payload), fullTopic));
    using Command = PanelLink::Command;
    const int n = all ? 0 : match.captured(1).toInt();
    const bool on = payload == "ON";
    if (all)
        request(on ? Command::AllOn : Command::AllOff, 0, {}, {}, fullTopic);
    else if (set)
        request(on ? Command::SwitchOn : Command::SwitchOff, n, {}, {}, fullTopic);
    else if (pulse)
        request(Command::Pulse, n, {}, length.value_or(settings_.pulses.value(n - 1)), fullTopic);
    else if (payload.isEmpty())
        request(Command::Disarm, n, {}, {}, fullTopic);
    else
        request(Command::Arm, n, QString::fromLatin1(payload), {}, fullTopic);
}

void Bridge::request(PanelLink::Command command, int channel, const QString& time,
                     std::chrono::milliseconds pulse, const QString& fullTopic) {
    const bool row = command == PanelLink::Command::Arm || command == PanelLink::Command::Disarm;
    // The answer may come later (over the bus) or at once (the model).
    QPointer<Bridge> self(this);
    panel_.request(
        command, channel, time, pulse, [self, fullTopic, channel, row](const QString& refusal) {
            if (!self || refusal.isEmpty())
                return;
            self->say(fullTopic, QString("the panel refused %1: %2").arg(fullTopic, refusal));
            if (!self->state() || channel == 0)
                return;
            if (row)
                self->publishArmed(channel);
            else
                self->publishChannel(channel);
        });
}

void Bridge::panelChanged(const PanelState& before) {
    const PanelState& now = *state();
    for (int n = 1; n <= ChannelCount; ++n) {
        if (before.on.value(n - 1) != now.on.value(n - 1))
            publishChannel(n);
        if (before.armed.value(n - 1) != now.armed.value(n - 1))
            publishArmed(n);
    }
    if (before.failing != now.failing || before.reason != now.reason)
        publishBoard();
}

// ---- publishing ------------------------------------------------------------

void Bridge::publish(const QString& fullTopic, const QByteArray& payload) {
    client_.publish(fullTopic, payload, true);
}

void Bridge::publishDiscovery() {
    announced_.clear();
    for (const Discovery& d : discoveryMessages(settings_, QSysInfo::machineHostName())) {
        announced_.insert(d.topic);
        publish(d.topic, d.config);
    }
}

void Bridge::publishAvailability() {
    publish(topic("availability"), state() ? "online" : "offline");
}

void Bridge::publishAll() {
    if (state()) {
        for (int n = 1; n <= ChannelCount; ++n) {
            publishChannel(n);
            publishArmed(n);
        }
        publishBoard();
    }
    publishAvailability();
}

void Bridge::publishChannel(int n) {
    publish(topic(QString("channel/%1/state").arg(n)), onOff(state()->on.value(n - 1)));
}

// An empty retained message clears the topic: an idle row holds no time.
// Home Assistant would read that as unknown after it restarts, so its timer
// entity reads the row from a message that always holds one: {"armed": ""}.
void Bridge::publishArmed(int n) {
    const QString armed = state()->armed.value(n - 1);
    publish(topic(QString("channel/%1/armed").arg(n)), armed.toUtf8());
    publish(topic(QString("channel/%1/row").arg(n)),
            QJsonDocument(QJsonObject{{"armed", armed}}).toJson(QJsonDocument::Compact));
}

void Bridge::publishBoard() {
    publish(topic("board/problem"), onOff(state()->failing));
    publish(topic("board/reason"), state()->failing ? state()->reason.toUtf8() : QByteArray());
}

void Bridge::say(const QString& key, const QString& line) {
    QElapsedTimer& last = said_[key];
    if (last.isValid() && !last.hasExpired(QuietMs))
        return;
    last.start();
    std::fprintf(stderr, "kavo-mqtt: %s\n", qPrintable(line));
}

} // namespace remote::mqtt
