#include "discovery.h"
#include "kavo_version.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace remote::mqtt {

QString nodeTopic(const Settings& settings, const QString& tail) {
    return "kavo/" + settings.nodeId + "/" + tail;
}

QList<Discovery> discoveryMessages(const Settings& s, const QString& hostName) {
    const QJsonObject device{
        {"identifiers", QJsonArray{"kavo_" + s.nodeId}},
        {"name", "KAVO relay panel on " + hostName},
        {"manufacturer", "Quorvale"},
        {"model", "KAVO relay panel, four channels"},
        {"sw_version", KAVO_VERSION},
    };
    const QJsonArray availability{QJsonObject{
        {"topic", nodeTopic(s, "availability")},
        {"payload_available", "online"},
        {"payload_not_available", "offline"},
    }};
    QList<Discovery> all;
    auto add = [&](const QString& component, const QString& object, QJsonObject config) {
        const QString id = s.nodeId + "_" + object;
        config.insert("unique_id", "kavo_" + id);
        config.insert("object_id", "kavo_" + id);
        config.insert("device", device);
        config.insert("availability", availability);
        all.append({s.discoveryPrefix + "/" + component + "/" + id + "/config",
                    QJsonDocument(config).toJson(QJsonDocument::Compact)});
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
                {"state_topic", nodeTopic(s, channel + "armed")},
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
    return all;
}

} // namespace remote::mqtt
