#include "mqtt_settings.h"
#include "core/pulse.h"
#include "kavo_version.h"
#include "platform/relay/board_choice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace remote::mqtt {
namespace {

const char* const Usage = R"(Usage: kavo-mqtt [OPTION]...
Bridges the KAVO panel (kavo-panel) running in this desktop session to an MQTT
broker, for Home Assistant and other home-automation systems. The panel keeps
the relay board; this program only asks it, over the session bus. With
--standalone it drives the board itself, by the panel's rules, and needs no
panel, display or session bus: for a server or a Raspberry Pi.

Options:
  --broker=URL            mqtt://[user@]host[:port], or mqtts:// for TLS
                          (default mqtt://localhost; ports 1883 and 8883)
  --node-id=ID            the name in every topic: kavo/ID/... (default: the
                          host name, reduced to letters, digits, _ and -)
  --discovery-prefix=P    Home Assistant's discovery prefix (default homeassistant)
  --board=BOARD           the panel that drives this board, as kavo-panel
                          --list-boards names it (default parallel); with
                          --standalone, the board to drive (auto as the panel)
  --standalone            drive the board without a panel; each start switches
                          every channel off, as the panel's does
  --unpublish             clear everything this node left retained on the
                          broker (Home Assistant forgets its device), then end
  --config=FILE           settings file (default
                          $XDG_CONFIG_HOME/kavo-panel/mqtt.conf)
  -h, --help              show this help
  --version               show the version

The settings file takes the same keys (broker, node_id, discovery_prefix, board,
standalone = yes, start_state = keep: adopt the outputs a USBRelay board
reports instead of switching all off at start) and
password_file, ca_file, cert_file and key_file (a client certificate for
mqtts://), status_topic (Home Assistant's birth topic, default
homeassistant/status), channel_1 to channel_4 (the channels' names), pulse
(how long a pulse lasts, as in 500ms or 2s; default 1s) and channel_1_pulse to
channel_4_pulse, as key = value lines. A password is never taken from the command line; a settings
or password file holding one must not be readable by others.
See kavo-mqtt(1) for the topics.
)";

const QRegularExpression NodeIdShape("^[a-zA-Z0-9_-]+$");

struct Failure {
    QString text;
};

bool readableByOthers(const QString& path) {
    const QFileDevice::Permissions p = QFileInfo(path).permissions();
    return p & (QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

// key = value lines; '#' and ';' start comments; [sections] are ignored.
std::optional<Failure> readConfig(const QString& path, QMap<QString, QString>& keys) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return Failure{
            QString("cannot read the settings file %1: %2").arg(path, file.errorString())};
    int number = 0;
    while (!file.atEnd()) {
        ++number;
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith('#') || line.startsWith(';') || line.startsWith('['))
            continue;
        const qsizetype eq = line.indexOf('=');
        if (eq < 1)
            return Failure{QString("%1:%2: not a key = value line").arg(path).arg(number)};
        keys.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return std::nullopt;
}

bool isLoopback(const QString& host) {
    static const QRegularExpression ipv4("^127\\.[0-9]+\\.[0-9]+\\.[0-9]+$");
    return host == "localhost" || host == "ip6-localhost" || host == "::1" ||
           ipv4.match(host).hasMatch();
}

std::optional<Failure> applyBroker(Settings& s) {
    const QUrl url(s.broker, QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != "mqtt" && scheme != "mqtts") || url.host().isEmpty() ||
        (!url.path().isEmpty() && url.path() != "/") || url.hasQuery() || url.hasFragment())
        return Failure{QString("the broker \"%1\" is not mqtt://[user@]host[:port] or "
                               "mqtts://[user@]host[:port]")
                           .arg(s.broker)};
    if (!url.password().isEmpty())
        return Failure{"a password is never taken from the broker's address; put it in the "
                       "settings file's password_file"};
    s.endpoint.tls = scheme == "mqtts";
    s.endpoint.host = url.host();
    s.endpoint.port = url.port(s.endpoint.tls ? 8883 : 1883);
    s.endpoint.user = url.userName();
    return std::nullopt;
}

std::optional<Failure> readPassword(const QString& path, QString& password) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return Failure{
            QString("cannot read the password file %1: %2").arg(path, file.errorString())};
    if (readableByOthers(path))
        return Failure{QString("the password file %1 can be read by others; make it yours "
                               "alone (chmod 600 %1)")
                           .arg(path)};
    password = QString::fromUtf8(file.readLine()).trimmed();
    return std::nullopt;
}

} // namespace

QString defaultNodeId(const QString& hostName) {
    QString id;
    for (const QChar c : hostName)
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '_' || c == '-')
            id += c;
    return id.isEmpty() ? QStringLiteral("kavo") : id;
}

QString channelName(const Settings& settings, int channel) {
    const QString name = settings.channelNames.value(channel - 1);
    return name.isEmpty() ? QString("Channel %1").arg(channel) : name;
}

Parsed parseSettings(const QStringList& args, const QProcessEnvironment& env,
                     const QString& hostName) {
    Parsed parsed;
    Settings& s = parsed.settings;
    auto usageError = [&](const QString& problem) {
        parsed.err = "kavo-mqtt: " + problem + "; see kavo-mqtt --help\n";
        parsed.exit = 2;
        return parsed;
    };
    auto settingsError = [&](const Failure& failure) {
        parsed.err = "kavo-mqtt: " + failure.text + "\n";
        parsed.exit = 2;
        return parsed;
    };

    QMap<QString, QString> given; // from the command line
    const QStringList options = {"broker", "node-id", "discovery-prefix", "board", "config"};
    for (const QString& word : args) {
        if (word == "-h" || word == "--help") {
            parsed.out = Usage;
            parsed.exit = 0;
            return parsed;
        }
        if (word == "--version") {
            parsed.out = "kavo-mqtt " KAVO_VERSION "\n";
            parsed.exit = 0;
            return parsed;
        }
        if (word == "--standalone") {
            given.insert("standalone", "yes");
            continue;
        }
        if (word == "--unpublish") {
            s.unpublish = true;
            continue;
        }
        const QString name = word.mid(2).section('=', 0, 0);
        if (!word.startsWith("--") || !options.contains(name)) {
            if (word.startsWith("--password"))
                return usageError("a password is never taken from the command line; put it in "
                                  "the settings file's password_file");
            return usageError(QString("unknown argument \"%1\"").arg(word));
        }
        if (!word.contains('='))
            return usageError(QString("\"--%1\" needs a value, as in --%1=VALUE").arg(name));
        given.insert(name, word.section('=', 1));
    }

    const QString configHome = env.value("XDG_CONFIG_HOME").isEmpty()
                                   ? env.value("HOME") + "/.config"
                                   : env.value("XDG_CONFIG_HOME");
    s.configFile = given.value("config", configHome + "/kavo-panel/mqtt.conf");
    QMap<QString, QString> file;
    if (given.contains("config") || QFileInfo::exists(s.configFile))
        if (const auto failure = readConfig(s.configFile, file))
            return settingsError(*failure);
    QStringList known = {"broker",   "node_id",       "discovery_prefix", "board",
                         "password", "password_file", "ca_file",          "cert_file",
                         "key_file", "standalone",    "status_topic",     "start_state"};
    known << "pulse";
    for (int n = 1; n <= ChannelCount; ++n)
        known << QString("channel_%1").arg(n) << QString("channel_%1_pulse").arg(n);
    for (auto it = file.cbegin(); it != file.cend(); ++it)
        if (!known.contains(it.key()))
            return settingsError({QString("%1: unknown key \"%2\"").arg(s.configFile, it.key())});

    s.broker = given.value("broker", file.value("broker", s.broker));
    s.nodeId = given.value("node-id", file.value("node_id", defaultNodeId(hostName)));
    s.discoveryPrefix =
        given.value("discovery-prefix", file.value("discovery_prefix", s.discoveryPrefix));
    s.statusTopic = file.value("status_topic", s.statusTopic);
    s.board = given.value("board", file.value("board", s.board));
    const QString standalone = given.value("standalone", file.value("standalone", "no"));
    if (standalone != "yes" && standalone != "no")
        return settingsError(
            {QString("%1: standalone takes yes or no, not \"%2\"").arg(s.configFile, standalone)});
    s.standalone = standalone == "yes";
    const QString startState = file.value("start_state", "off");
    if (startState != "off" && startState != "keep")
        return settingsError({QString("%1: start_state takes off or keep, not \"%2\"")
                                  .arg(s.configFile, startState)});
    s.keepStartState = startState == "keep";
    if (s.keepStartState && !s.standalone)
        parsed.warnings << "start_state = keep is for the standalone bridge; the panel starts "
                           "with every channel off";
    for (int n = 1; n <= ChannelCount; ++n)
        s.channelNames << file.value(QString("channel_%1").arg(n));
    // A channel's own pulse length, else the file's, else the default.
    std::chrono::milliseconds pulse = core::DefaultPulse;
    for (int n = 0; n <= ChannelCount; ++n) {
        const QString key = n == 0 ? QString("pulse") : QString("channel_%1_pulse").arg(n);
        std::chrono::milliseconds length = pulse;
        if (file.contains(key)) {
            const auto parsed = core::parsePulse(file.value(key).toStdString());
            if (!parsed)
                return settingsError(
                    {QString("%1: %2 = %3 is no pulse length; a pulse lasts "
                             "%4 to %5, as in 500ms or 2s")
                         .arg(s.configFile, key, file.value(key),
                              QString::fromStdString(core::pulseText(core::ShortestPulse)),
                              QString::fromStdString(core::pulseText(core::LongestPulse)))});
            length = *parsed;
        }
        if (n == 0)
            pulse = length;
        else
            s.pulses.append(length);
    }

    if (!NodeIdShape.match(s.nodeId).hasMatch())
        return usageError(
            QString("the node id \"%1\" may hold only letters, digits, _ and -").arg(s.nodeId));
    for (const QString& topic : {s.discoveryPrefix, s.statusTopic})
        if (topic.isEmpty() || topic.contains('+') || topic.contains('#'))
            return usageError(QString("\"%1\" is not a topic").arg(topic));
    if (const auto failure = applyBroker(s))
        return usageError(failure->text);
    const auto board = platform::relay::parseBoardChoice(s.board.toStdString());
    if (!board.choice)
        return usageError(QString::fromStdString(board.error));
    s.board = QString::fromStdString(platform::relay::boardArgument(*board.choice));

    if (file.contains("password")) {
        if (readableByOthers(s.configFile))
            return settingsError({QString("the settings file %1 holds a password and can be read "
                                          "by others; make it yours alone (chmod 600 %1)")
                                      .arg(s.configFile)});
        s.endpoint.password = file.value("password");
    } else if (const QString path = file.value("password_file"); !path.isEmpty()) {
        const QString resolved = QDir(QFileInfo(s.configFile).absolutePath()).filePath(path);
        if (const auto failure = readPassword(resolved, s.endpoint.password))
            return settingsError(*failure);
    } else if (const QString credentials = env.value("CREDENTIALS_DIRECTORY");
               !credentials.isEmpty()) {
        // The system service's LoadCredential=: systemd's copy is this unit's
        // user's alone already. None, or a blank one, is no password.
        QFile credential(QDir(credentials).filePath("mqtt.password"));
        if (credential.open(QIODevice::ReadOnly | QIODevice::Text))
            s.endpoint.password = QString::fromUtf8(credential.readLine()).trimmed();
        else if (credential.exists())
            return settingsError({QString("cannot read the credential %1: %2")
                                      .arg(credential.fileName(), credential.errorString())});
    }
    if (!s.endpoint.password.isEmpty() && s.endpoint.user.isEmpty())
        return settingsError({"a password is set but the broker's address names no user "
                              "(mqtt://user@host)"});
    const QDir beside(QFileInfo(s.configFile).absolutePath());
    if (const QString ca = file.value("ca_file"); !ca.isEmpty())
        s.endpoint.caFile = beside.filePath(ca);
    // The system service's client key, as the credential mqtt.key, where the
    // settings file names none; a blank one (the unit's default) is none.
    if (const QString credentials = env.value("CREDENTIALS_DIRECTORY");
        !credentials.isEmpty() && !file.contains("key_file")) {
        QFile key(QDir(credentials).filePath("mqtt.key"));
        if (key.open(QIODevice::ReadOnly) && !key.readAll().trimmed().isEmpty())
            file.insert("key_file", key.fileName());
    }
    if (file.value("cert_file").isEmpty() != file.value("key_file").isEmpty())
        return settingsError({QString("%1: cert_file and key_file go together: a client "
                                      "certificate needs its key")
                                  .arg(s.configFile)});
    if (const QString cert = file.value("cert_file"); !cert.isEmpty()) {
        s.endpoint.certFile = beside.filePath(cert);
        s.endpoint.keyFile = beside.filePath(file.value("key_file"));
        if (readableByOthers(s.endpoint.keyFile))
            return settingsError({QString("the key file %1 can be read by others; make it "
                                          "yours alone (chmod 600 %1)")
                                      .arg(s.endpoint.keyFile)});
    }
    if (!s.endpoint.password.isEmpty() && !s.endpoint.tls && !isLoopback(s.endpoint.host))
        parsed.warnings << QString("the password goes unencrypted to %1; use mqtts:// to "
                                   "protect it")
                               .arg(s.endpoint.host);
    return parsed;
}

} // namespace remote::mqtt
