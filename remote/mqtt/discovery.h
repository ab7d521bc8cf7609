#pragma once
// Home Assistant's MQTT discovery: one retained config message per entity,
// under <prefix>/<component>/kavo_<stable id>/<object>/config, with full key
// names. The device and its entities hang on the stable id, not the node id:
// renaming the host (the node id's default) updates the same device, and two
// hosts of one name stay two devices.

#include "remote/mqtt/mqtt_settings.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace remote::mqtt {

// kavo/<node>/<tail>
QString nodeTopic(const Settings& settings, const QString& tail);

// The clock text a timer row takes, or "" to disarm it.
inline constexpr const char* ArmPattern = "^$|^([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$";

// A hash of the machine's id, kept apart for this program, and the board
// (as --list-boards names it) unless it is the parallel port. Without a
// machine id, the node id.
QString stableId(const QByteArray& machineId, const QString& board, const QString& nodeId);
// The settings' stable id, or the node id where they have none.
QString stableIdOf(const Settings& settings);
// /etc/machine-id's first line, or empty.
QByteArray readMachineId();

struct Discovery {
    QString topic;
    QByteArray config;
    QString legacyTopic; // where the entity was announced by node id
};
// The four switches, the board's problem sensor, the four timer rows, a
// pulse button a channel, and buttons for all on and all off.
QList<Discovery> discoveryMessages(const Settings& settings, const QString& hostName);
// Where the same entities were announced before they hung on the stable id:
// <prefix>/<component>/<node>_<object>/config.
QStringList legacyConfigTopics(const Settings& settings);
// Every retained topic this node says: its configs, old and new, and its states.
QStringList retainedTopics(const Settings& settings);

} // namespace remote::mqtt
