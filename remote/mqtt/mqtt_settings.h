#pragma once
// kavo-mqtt's settings: the command line over the configuration file over
// the defaults. A password comes only from the file (or the file it names),
// and only from a file nobody else can read.

#include "core/channels.h"
#include "platform/mosquitto/mqtt_client.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

namespace remote::mqtt {

using core::ChannelCount;

struct Settings {
    QString broker = QStringLiteral("mqtt://localhost");
    platform::mqtt::Endpoint endpoint; // host, port, TLS and login from `broker`
    QString nodeId;
    // What Home Assistant knows the device by (discovery.h's stableId); the
    // node id where empty.
    QString stableId;
    bool unpublish = false; // clear everything this node retained, then end
    QString discoveryPrefix = QStringLiteral("homeassistant");
    // Where Home Assistant says it came back; its own, whatever the prefix.
    QString statusTopic = QStringLiteral("homeassistant/status");
    QStringList channelNames; // ChannelCount names; "" for the default one
    // How long each channel's pulse button holds it on.
    QList<std::chrono::milliseconds> pulses;
    // The board of the panel to bridge, as its --board value; it picks the
    // panel's name on the session bus. Standalone, the board to drive.
    QString board = QStringLiteral("parallel");
    bool standalone = false; // drive the board here, without a panel
    // Standalone, at start: take the outputs as the board reports them and
    // write nothing, rather than switch every channel off.
    bool keepStartState = false;
    QString configFile;
};

struct Parsed {
    std::optional<int> exit; // set: print `out` and `err`, then end with this status
    QString out;
    QString err;
    QStringList warnings; // lines for stderr when the bridge runs
    Settings settings;
};

// `args` without the program's name; `hostName` gives the default node id.
Parsed parseSettings(const QStringList& args, const QProcessEnvironment& env,
                     const QString& hostName);

// The host name reduced to the characters a topic level and an entity id
// take ([a-zA-Z0-9_-]).
QString defaultNodeId(const QString& hostName);

// The channel's name as Home Assistant shows it.
QString channelName(const Settings& settings, int channel);

} // namespace remote::mqtt
