#include "mqtt_bridge.h"
#include "discovery.h"
#include "panel_proxy.h"

#include "core/channels.h"
#include "remote/bus_names.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QRegularExpression>
#include <QSysInfo>

#include <cstdio>

namespace remote::mqtt {
namespace {

constexpr int ReplyTimeoutMs = 10000;
constexpr qint64 QuietMs = 60000;

const QRegularExpression ChannelTopic("^channel/([1-9][0-9]{0,2})/(set|arm)$");
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

Bridge::Bridge(Settings settings, platform::mqtt::Client& client, const QDBusConnection& bus,
               QObject* parent)
    : QObject(parent), settings_(std::move(settings)),
      service_(QString::fromStdString(serviceName(settings_.board.toStdString()))), client_(client),
      bus_(bus) {
    retry_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, &Bridge::connectToBroker);
    connect(&client_, &platform::mqtt::Client::connected, this, &Bridge::connected);
    connect(&client_, &platform::mqtt::Client::disconnected, this, &Bridge::disconnected);
    connect(&client_, &platform::mqtt::Client::message, this, &Bridge::message);
    settings_.endpoint.clientId = "kavo-mqtt-" + settings_.nodeId;
    settings_.endpoint.will = {topic("availability"), "offline", true};
    panel_ = new ComQuorvaleKavoPanel1Interface(service(), ObjectPath, bus_, this);
    panel_->setTimeout(ReplyTimeoutMs);
}

Bridge::~Bridge() = default;

QString Bridge::topic(const QString& tail) const {
    return nodeTopic(settings_, tail);
}

void Bridge::start() {
    watcher_ = new QDBusServiceWatcher(service(), bus_,
                                       QDBusServiceWatcher::WatchForRegistration |
                                           QDBusServiceWatcher::WatchForUnregistration,
                                       this);
    connect(watcher_, &QDBusServiceWatcher::serviceRegistered, this, &Bridge::panelAppeared);
    connect(watcher_, &QDBusServiceWatcher::serviceUnregistered, this, &Bridge::panelVanished);
    // Follows the name to whichever panel holds it.
    bus_.connect(service(), ObjectPath, PropertiesInterface, "PropertiesChanged", this,
                 SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    if (bus_.interface()->isServiceRegistered(service()))
        panelAppeared();
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
    client_.subscribe(node + "all/set");
    client_.subscribe(settings_.discoveryPrefix + "/status");
    publishDiscovery();
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
    if (fullTopic == settings_.discoveryPrefix + "/status") {
        // Home Assistant has (re)started and forgotten what it was told.
        if (payload == "online" && !retained)
            publishDiscovery();
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
    const bool known = set ? payload == "ON" || payload == "OFF"
                           : arm && (payload.isEmpty() || ClockShape.match(payload).hasMatch());
    if (!known)
        return say(fullTopic, QString("ignored %1 on %2: it takes %3")
                                  .arg(shown(payload), fullTopic,
                                       arm ? "HH:MM:SS, or nothing to disarm" : "ON or OFF"));
    if (!state_)
        return say(fullTopic,
                   QString("ignored %1 on %2: no panel is running").arg(shown(payload), fullTopic));
    const int n = all ? 0 : match.captured(1).toInt();
    const bool on = payload == "ON";
    if (all)
        whenAnswered(on ? panel_->AllOn() : panel_->AllOff(), fullTopic, 0, false);
    else if (set)
        whenAnswered(on ? panel_->SwitchOn(n) : panel_->SwitchOff(n), fullTopic, n, false);
    else if (payload.isEmpty())
        whenAnswered(panel_->Disarm(n), fullTopic, n, true);
    else
        whenAnswered(panel_->Arm(n, QString::fromLatin1(payload)), fullTopic, n, true);
}

void Bridge::whenAnswered(const QDBusPendingCall& call, const QString& fullTopic, int channel,
                          bool row) {
    auto* watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, fullTopic, channel, row](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                if (!w->isError())
                    return;
                say(fullTopic,
                    QString("the panel refused %1: %2").arg(fullTopic, w->error().message()));
                if (!state_ || channel == 0)
                    return;
                if (row)
                    publishArmed(channel);
                else
                    publishChannel(channel);
            });
}

// ---- the panel -------------------------------------------------------------

void Bridge::panelAppeared() {
    QDBusMessage call =
        QDBusMessage::createMethodCall(service(), ObjectPath, PropertiesInterface, "GetAll");
    call << QString(Interface);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, ReplyTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QVariantMap> reply = *w;
        if (reply.isError()) {
            say("panel", "cannot read the panel's state: " + reply.error().message());
            return;
        }
        state_ = PanelState{};
        apply(reply.value());
        publishAll();
    });
}

void Bridge::panelVanished() {
    state_.reset();
    publishAvailability();
}

void Bridge::propertiesChanged(const QString& interface, const QVariantMap& changed,
                               const QStringList&) {
    if (interface != Interface || !state_)
        return;
    const PanelState before = *state_;
    apply(changed);
    for (int n = 1; n <= ChannelCount; ++n) {
        if (before.on.value(n - 1) != state_->on.value(n - 1))
            publishChannel(n);
        if (before.armed.value(n - 1) != state_->armed.value(n - 1))
            publishArmed(n);
    }
    if (before.failing != state_->failing || before.reason != state_->reason)
        publishBoard();
}

void Bridge::apply(const QVariantMap& values) {
    if (values.contains("ChannelsOn"))
        state_->on = qdbus_cast<QList<bool>>(values.value("ChannelsOn"));
    if (values.contains("ArmedTimes"))
        state_->armed = qdbus_cast<QStringList>(values.value("ArmedTimes"));
    if (values.contains("PortFailing"))
        state_->failing = values.value("PortFailing").toBool();
    if (values.contains("PortError"))
        state_->reason = values.value("PortError").toString();
}

// ---- publishing ------------------------------------------------------------

void Bridge::publish(const QString& fullTopic, const QByteArray& payload) {
    client_.publish(fullTopic, payload, true);
}

void Bridge::publishDiscovery() {
    for (const Discovery& d : discoveryMessages(settings_, QSysInfo::machineHostName()))
        publish(d.topic, d.config);
}

void Bridge::publishAvailability() {
    publish(topic("availability"), state_ ? "online" : "offline");
}

void Bridge::publishAll() {
    if (state_) {
        for (int n = 1; n <= ChannelCount; ++n) {
            publishChannel(n);
            publishArmed(n);
        }
        publishBoard();
    }
    publishAvailability();
}

void Bridge::publishChannel(int n) {
    publish(topic(QString("channel/%1/state").arg(n)), onOff(state_->on.value(n - 1)));
}

// An empty retained message clears the topic: an idle row holds no time.
void Bridge::publishArmed(int n) {
    publish(topic(QString("channel/%1/armed").arg(n)), state_->armed.value(n - 1).toUtf8());
}

void Bridge::publishBoard() {
    publish(topic("board/problem"), onOff(state_->failing));
    publish(topic("board/reason"), state_->failing ? state_->reason.toUtf8() : QByteArray());
}

void Bridge::say(const QString& key, const QString& line) {
    QElapsedTimer& last = said_[key];
    if (last.isValid() && !last.hasExpired(QuietMs))
        return;
    last.start();
    std::fprintf(stderr, "kavo-mqtt: %s\n", qPrintable(line));
}

} // namespace remote::mqtt
