#pragma once
// Home Assistant's MQTT discovery: one retained config message per entity,
// under <prefix>/<component>/<node>_<object>/config, with full key names.

#include "remote/mqtt/mqtt_settings.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace remote::mqtt {

// kavo/<node>/<tail>
QString nodeTopic(const Settings& settings, const QString& tail);

// The clock text a timer row takes, or "" to disarm it.
inline constexpr const char* ArmPattern = "^$|^([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$";

struct Discovery {
    QString topic;
    QByteArray config;
};
// The four switches, the board's problem sensor, the four timer rows, a
// pulse button a channel, and buttons for all on and all off.
QList<Discovery> discoveryMessages(const Settings& settings, const QString& hostName);

} // namespace remote::mqtt
