#include "discovery.h"
#include "kavo_version.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <tuple>

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
    // Who publishes these, for Home Assistant's log.
    const QJsonObject origin{{"name", "kavo-mqtt"}, {"sw_version", KAVO_VERSION}};
    QList<Discovery> all;
    auto add = [&](const QString& component, const QString& object, QJsonObject config) {
        const QString id = s.nodeId + "_" + object;
        config.insert("unique_id", "kavo_" + id);
        // Home Assistant 2025.10 and later name the entity from
        // default_entity_id and ignore object_id, which older ones read.
        config.insert("default_entity_id", component + ".kavo_" + id);
        config.insert("object_id", "kavo_" + id);
        config.insert("origin", origin);
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

} // namespace remote::mqtt
