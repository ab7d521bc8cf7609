#include "discovery.h"
#include "kavo_version.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <tuple>

namespace remote::mqtt {

QString nodeTopic(const Settings& settings, const QString& tail) {
    return "kavo/" + settings.nodeId + "/" + tail;
}

QString stableId(const QByteArray& machineId, const QString& board, const QString& nodeId) {
    if (machineId.isEmpty())
        return nodeId;
    // The machine id is to be kept private: only an app-specific hash of it
    // goes out.
    const QByteArray hash =
        QCryptographicHash::hash("kavo-mqtt:" + machineId, QCryptographicHash::Sha256).toHex();
    QString id = QString::fromLatin1(hash.left(12));
    if (board != "parallel") {
        id += '_';
        for (const QChar c : board.toLower())
            id += (c.isLetterOrNumber() && c.unicode() < 0x80) ? c : QChar('_');
    }
    return id;
}

QByteArray readMachineId() {
    QFile file("/etc/machine-id");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readLine().trimmed();
}

namespace {

// The kind of board, as the device's model shows it; `board` as --board gives it.
QString boardKind(const QString& board) {
    if (board.startsWith("usb-hid"))
        return "USB HID relay board";
    if (board.startsWith("serial"))
        return "USB serial relay board";
    if (board == "parallel")
        return "parallel port board";
    return "relay board";
}

} // namespace

QString stableIdOf(const Settings& s) {
    return s.stableId.isEmpty() ? s.nodeId : s.stableId;
}

QList<Discovery> discoveryMessages(const Settings& s, const QString& hostName) {
    const QJsonObject device{
        {"identifiers", QJsonArray{"kavo_" + stableIdOf(s)}},
        {"name", "KAVO relay panel on " + hostName},
        {"manufacturer", "Quorvale"},
        {"model", "KAVO relay panel, four channels, " + boardKind(s.board)},
        {"sw_version", KAVO_VERSION},
    };
    const QJsonArray availability{QJsonObject{
        {"topic", nodeTopic(s, "availability")},
        {"payload_available", "online"},
        {"payload_not_available", "offline"},
    }};
    // Who publishes these, for Home Assistant's log.
    const QJsonObject origin{{"name", "kavo-mqtt"}, {"sw_version", KAVO_VERSION}};
    QList<Discovery> all;
    auto add = [&](const QString& component, const QString& object, QJsonObject config) {
        config.insert("unique_id", "kavo_" + stableIdOf(s) + "_" + object);
        // Entity ids stay readable, from the node id. Home Assistant 2025.10
        // and later take them from default_entity_id and ignore object_id,
        // which older ones read.
        const QString readable = "kavo_" + s.nodeId + "_" + object;
        config.insert("default_entity_id", component + "." + readable);
        config.insert("object_id", readable);
        config.insert("origin", origin);
        config.insert("device", device);
        config.insert("availability", availability);
        all.append(
            {s.discoveryPrefix + "/" + component + "/kavo_" + stableIdOf(s) + "/" + object +
                 "/config",
             QJsonDocument(config).toJson(QJsonDocument::Compact),
             s.discoveryPrefix + "/" + component + "/" + s.nodeId + "_" + object + "/config"});
    };
    for (int n = 1; n <= ChannelCount; ++n) {
        const QString channel = QString("channel/%1/").arg(n);
        add("switch", QString("channel%1").arg(n),
            {
                {"name", channelName(s, n)},
                {"state_topic", nodeTopic(s, channel + "state")},
                {"command_topic", nodeTopic(s, channel + "set")},
                {"payload_on", "ON"},
                {"payload_off", "OFF"},
                {"state_on", "ON"},
                {"state_off", "OFF"},
                {"retain", false},
                {"optimistic", false},
                {"qos", 1},
                {"icon", "mdi:electric-switch"},
            });
    }
    add("binary_sensor", "board",
        {
            {"name", "Relay board"},
            {"device_class", "problem"},
            {"entity_category", "diagnostic"},
            {"state_topic", nodeTopic(s, "board/problem")},
            {"payload_on", "ON"},
            {"payload_off", "OFF"},
            {"json_attributes_topic", nodeTopic(s, "board/reason")},
            {"json_attributes_template", "{{ {'reason': value} | tojson }}"},
            {"qos", 1},
        });
    for (int n = 1; n <= ChannelCount; ++n) {
        const QString channel = QString("channel/%1/").arg(n);
        add("text", QString("timer%1").arg(n),
            {
                {"name", channelName(s, n) + " timer"},
                {"state_topic", nodeTopic(s, channel + "row")},
                {"value_template", "{{ value_json.armed }}"},
                {"command_topic", nodeTopic(s, channel + "arm")},
                {"pattern", ArmPattern},
                {"min", 0},
                {"max", 8},
                {"mode", "text"},
                {"retain", false},
                {"qos", 1},
                {"icon", "mdi:timer-outline"},
            });
    }
    for (int n = 1; n <= ChannelCount; ++n)
        add("button", QString("pulse%1").arg(n),
            {
                {"name", channelName(s, n) + " pulse"},
                {"command_topic", nodeTopic(s, QString("channel/%1/pulse").arg(n))},
                {"payload_press", "PRESS"},
                {"retain", false},
                {"qos", 1},
                {"icon", "mdi:gesture-tap-button"},
            });
    for (const auto& [object, name, payload] :
         {std::tuple{"all_on", "All on", "ON"}, std::tuple{"all_off", "All off", "OFF"}})
        add("button", object,
            {
                {"name", name},
                {"command_topic", nodeTopic(s, "all/set")},
                {"payload_press", payload},
                {"retain", false},
                {"qos", 1},
                {"icon", "mdi:power"},
            });
    return all;
}

QStringList legacyConfigTopics(const Settings& settings) {
    QStringList topics;
    for (const Discovery& d : discoveryMessages(settings, {}))
        topics << d.legacyTopic;
    return topics;
}

QStringList retainedTopics(const Settings& settings) {
    QStringList topics = legacyConfigTopics(settings);
    for (const Discovery& d : discoveryMessages(settings, {}))
        topics << d.topic;
    topics << nodeTopic(settings, "availability") << nodeTopic(settings, "owner")
           << nodeTopic(settings, "board/problem") << nodeTopic(settings, "board/reason");
    for (int n = 1; n <= ChannelCount; ++n)
        for (const char* tail : {"state", "armed", "row"})
            topics << nodeTopic(settings, QString("channel/%1/%2").arg(n).arg(tail));
    return topics;
}

} // namespace remote::mqtt
