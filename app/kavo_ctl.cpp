// kavo-ctl: switches the channels of the running panel from a script, a cron
// job or a key binding. One program owns the relay board, the panel; this one
// only asks it, over the panel's interface on the user's session bus. Each
// board has its own panel; --board picks which.
#include "core/channels.h"
#include "core/port_output.h"
#include "core/pulse.h"
#include "kavo_version.h"
#include "panel2_proxy.h"
#include "platform/relay/board_choice.h"
#include "remote/bus_names.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingReply>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <optional>
#include <utility>

namespace {

enum Exit { Done = 0, Refused = 1, UsageError = 2, NoPanel = 3, BoardUnreachable = 4 };

constexpr int ReplyTimeoutMs = 10000;

QString pulseText(std::chrono::milliseconds length) {
    return QString::fromStdString(core::pulseText(length));
}

// "1 to 4": the channel numbers, as every text gives them.
QString channelNumbers() {
    return QString("1 to %1").arg(core::ChannelCount);
}

// %1: the channel numbers; %2 to %4: the shortest, longest and default pulse.
const char* const Usage = R"(Usage: kavo-ctl [--board=BOARD] COMMAND
Switches the channels of the KAVO panel (kavo-panel) running in this desktop
session, as its own buttons do.

Commands:
  on N             switch channel N (%1) on: its ON button
  off N            switch channel N off: its OFF button
  all-on           switch every channel on: Emergency Mode, ALL ON
  all-off          switch every channel off: Emergency Mode, ALL OFF
  at N HH:MM:SS    arm channel N's timer row: at that time of day (24-hour,
                   leading zeros) the channel toggles once
  cancel N         disarm channel N's timer row
  pulse N [LENGTH] channel N's ON button, then after LENGTH its OFF button
                   (%2 to %3, as in 500ms, 2s, 1m; default %4); refused
                   while the channel is on
  status [--json]  one line a channel; --json prints one JSON object instead

Options:
  --board=BOARD    the panel that drives this board, as kavo-panel
                   --list-boards names it: parallel (the default),
                   usb-hid:ID, usb-hid:/dev/hidrawN or serial:/dev/ttyUSBN;
                   without it (or with auto), where no panel drives the
                   parallel board, the only panel running
  -h, --help       show this help
  --version        show the version

Exit status: 0 done (for a switch: the relay board took this command's
write); 1 the panel refused (the reason is on stderr); 2 usage error; 3 no
panel is running; 4 the panel switched, but the relay board did not take
this command's write (the reason is on stderr; the panel writes again until
the board takes it).
)";

void say(const QString& line) {
    std::fputs(qPrintable("kavo-ctl: " + line + '\n'), stderr);
}

void print(const QByteArray& text) {
    std::fputs(text.constData(), stdout);
}

int usageError(const QString& problem) {
    say(problem + "; see kavo-ctl --help");
    return UsageError;
}

struct Request {
    QString service = remote::ServiceName; // the panel's name on the bus
    // Where that name is not held: the names of which exactly one running
    // panel is then taken (no --board, auto, or a bare usb-hid), else none.
    QString anyPanelPrefix = QString(remote::ServiceName) + '.';
    QString command;
    int channel = 0;
    QString time;
    std::chrono::milliseconds pulse = core::DefaultPulse;
    bool json = false;
};

// How many words follow each command.
struct Command {
    const char* name;
    int arguments;
    const char* needs; // empty for a channel number alone
    int optional = 0;  // words that may follow those
};
constexpr Command Commands[] = {
    {"on", 1, ""},
    {"off", 1, ""},
    {"all-on", 0, ""},
    {"all-off", 0, ""},
    {"at", 2, "a channel number and a time, as in: kavo-ctl at 3 18:00:00"},
    {"cancel", 1, ""},
    {"pulse", 1, "", 1},
    {"status", 0, ""},
};

// What the words after `command` are.
QString needs(const Command& command) {
    return *command.needs ? QString(command.needs) : "a channel number, " + channelNumbers();
}

std::optional<int> channelNumber(const QString& word) {
    bool ok = false;
    const int n = word.toInt(&ok);
    if (!ok || n < 1 || n > core::ChannelCount || word != QString::number(n))
        return std::nullopt;
    return n;
}

// An unknown option as it was typed, "--all=3" rather than Qt's "all".
QString spelling(const QStringList& arguments, const QString& name) {
    for (const QString& word : arguments.mid(1)) {
        const QString option = word.mid(word.startsWith("--") ? 2 : 1).section('=', 0, 0);
        if (word.startsWith('-') && option == name)
            return word;
    }
    return "--" + name;
}

// The request, or the exit status when there is nothing to ask the panel.
// `arguments` begin with the program's name.
std::optional<int> parse(QStringList arguments, Request& request) {
    QCommandLineParser parser;
    // As kavo-panel's: -board=X and -help are long options too.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption board("board", {}, "BOARD");
    const QCommandLineOption json("json");
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringList{"v", "version"});
    parser.addOptions({board, json, help, version});

    // "-1" is a channel number, if a wrong one, not an option: it passes the
    // parser as a word no argument can be (a NUL) and is put back after.
    QHash<QString, QString> numbers;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i].size() > 1 && arguments[i][0] == '-' && arguments[i][1].isDigit()) {
            const QString standIn = QChar(0) + QString::number(i);
            numbers.insert(standIn, std::exchange(arguments[i], standIn));
        }
    }
    const auto restored = [&](QStringList words) {
        for (QString& word : words)
            word = numbers.value(word, word);
        return words;
    };

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            return usageError(
                QString("unknown option \"%1\"").arg(spelling(arguments, unknown.first())));
        // A value missing after --board, or one after --json: Qt's sentence.
        QString problem = parser.errorText();
        if (problem.endsWith('.'))
            problem.chop(1);
        return usageError(problem.left(1).toLower() + problem.mid(1));
    }
    if (parser.isSet(help)) {
        print(QString(Usage)
                  .arg(channelNumbers(), pulseText(core::ShortestPulse),
                       pulseText(core::LongestPulse), pulseText(core::DefaultPulse))
                  .toUtf8());
        return Done;
    }
    if (parser.isSet(version)) {
        print("kavo-ctl " KAVO_VERSION "\n");
        return Done;
    }
    request.json = parser.isSet(json);
    // Each --board is checked; the last one counts.
    for (const QString& value : restored(parser.values(board))) {
        const auto parsed = platform::relay::parseBoardChoice(value.toStdString());
        if (!parsed.choice)
            return usageError(QString::fromStdString(parsed.error));
        const auto& choice = parsed.choice;
        request.service =
            QString::fromStdString(remote::serviceName(platform::relay::boardArgument(*choice)));
        // A panel is found under the board it resolved these to.
        using platform::relay::BoardKind;
        request.anyPanelPrefix.clear();
        if (choice->kind == BoardKind::Auto)
            request.anyPanelPrefix = QString(remote::ServiceName) + '.';
        else if (choice->kind == BoardKind::UsbHid && choice->selector.empty())
            request.anyPanelPrefix = request.service + '_';
    }

    QStringList positional = restored(parser.positionalArguments());
    if (positional.isEmpty())
        return usageError("no command given");
    request.command = positional.takeFirst();
    const Command* command = nullptr;
    for (const Command& c : Commands)
        if (request.command == c.name)
            command = &c;
    if (!command)
        return usageError(QString("unknown command \"%1\"").arg(request.command));
    if (positional.size() < command->arguments)
        return usageError(QString("\"%1\" needs %2").arg(request.command, needs(*command)));
    if (positional.size() > command->arguments + command->optional)
        return usageError(QString("too many arguments for \"%1\"").arg(request.command));
    if (request.json && request.command != "status")
        return usageError("--json goes only with \"status\"");
    if (command->arguments > 0) {
        const std::optional<int> channel = channelNumber(positional[0]);
        if (!channel)
            return usageError(QString("there is no channel \"%1\"; channels are %2")
                                  .arg(positional[0], channelNumbers()));
        request.channel = *channel;
    }
    if (command->arguments > 1)
        request.time = positional[1];
    if (request.command == "pulse" && positional.size() > 1) {
        const auto length = core::parsePulse(positional[1].toStdString());
        if (!length)
            return usageError(
                QString("\"%1\" is no pulse length; a pulse lasts %2 to %3, as in 500ms or 2s")
                    .arg(positional[1], pulseText(core::ShortestPulse),
                         pulseText(core::LongestPulse)));
        request.pulse = *length;
    }
    return std::nullopt;
}

int noPanelRunning(const QString& service) {
    say(QString("no panel is running in this session (nothing owns %1 on the session bus)")
            .arg(service));
    return NoPanel;
}

int failed(const QDBusError& error, const QString& service) {
    const QString name = error.name();
    if (name.startsWith(remote::error::Prefix)) {
        say(error.message());
        return Refused;
    }
    if (name == "org.freedesktop.DBus.Error.ServiceUnknown" ||
        name == "org.freedesktop.DBus.Error.NameHasNoOwner" ||
        name == "org.freedesktop.DBus.Error.UnknownObject" ||
        name == "org.freedesktop.DBus.Error.Disconnected")
        return noPanelRunning(service);
    if (name == "org.freedesktop.DBus.Error.NoReply" ||
        name == "org.freedesktop.DBus.Error.Timeout") {
        say(QString("the panel did not answer within %1 s").arg(ReplyTimeoutMs / 1000));
        return NoPanel;
    }
    say(QString("the panel did not take the request: %1 (%2)").arg(error.message(), name));
    return Refused;
}

struct State {
    int portValue = 0;
    QList<bool> on;
    QStringList armed;
    bool portFailing = false;
    QString portError;
};

// All of the panel's state in one call, so that it is read in one piece.
QDBusError readState(const QDBusConnection& bus, const QString& service, State& state) {
    QDBusMessage call = QDBusMessage::createMethodCall(service, remote::ObjectPath,
                                                       remote::PropertiesInterface, "GetAll");
    call << QString(remote::Interface);
    const QDBusMessage reply = bus.call(call, QDBus::Block, ReplyTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return QDBusError(reply);
    const QVariantMap values = qdbus_cast<QVariantMap>(reply.arguments().value(0));
    state.portValue = values.value("PortValue").toInt();
    state.on = qdbus_cast<QList<bool>>(values.value("ChannelsOn"));
    state.armed = qdbus_cast<QStringList>(values.value("ArmedTimes"));
    state.portFailing = values.value("PortFailing").toBool();
    state.portError = values.value("PortError").toString();
    if (state.on.size() != core::ChannelCount || state.armed.size() != core::ChannelCount)
        return QDBusError(QDBusError::InvalidSignature, "the panel's state came back incomplete");
    return {};
}

QByteArray statusText(const State& state) {
    QString text;
    for (int n = 1; n <= core::ChannelCount; ++n) {
        const auto i = static_cast<qsizetype>(n - 1);
        text += QString("channel %1: %2").arg(n).arg(state.on[i] ? "on" : "off");
        if (!state.armed[i].isEmpty())
            text += ", armed for " + state.armed[i];
        text += '\n';
    }
    return text.toUtf8();
}

QByteArray statusJson(const State& state) {
    QJsonArray channels;
    for (int n = 1; n <= core::ChannelCount; ++n) {
        const auto i = static_cast<qsizetype>(n - 1);
        channels.append(QJsonObject{
            {"channel", n},
            {"on", state.on[i]},
            {"armed", state.armed[i].isEmpty() ? QJsonValue() : QJsonValue(state.armed[i])},
        });
    }
    const QJsonObject root{
        {"portValue", state.portValue},
        {"portFailing", state.portFailing},
        {"portError", state.portError},
        {"channels", channels},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Compact) + '\n';
}

// The panel to ask: the one whose name the request gives, or where that is
// not held, the only panel running under the names it allows (a panel
// started from the menu with --board=auto drives whichever board it found).
// Empty, said on stderr, when several would do.
QString panelService(const Request& request, const QDBusConnection& bus) {
    if (request.anyPanelPrefix.isEmpty() || bus.interface()->isServiceRegistered(request.service))
        return request.service;
    QStringList panels;
    for (const QString& name : bus.interface()->registeredServiceNames().value())
        if (name.startsWith(request.anyPanelPrefix) && !name.startsWith(remote::BoardLockPrefix))
            panels << name;
    if (panels.size() <= 1)
        return panels.isEmpty() ? request.service : panels.first();
    panels.sort();
    say(QString("several panels are running (%1); name one with --board").arg(panels.join(", ")));
    return {};
}

int run(const Request& request, const QDBusConnection& bus) {
    if (!bus.isConnected()) {
        say(QString("cannot reach the session bus (%1), so no panel can be reached")
                .arg(bus.lastError().message()));
        return NoPanel;
    }
    // Asked of the bus itself rather than learnt from a failed call: Qt's bus
    // thread can still be handling an error answer while the program ends,
    // and then warns on stderr.
    const QString service = panelService(request, bus);
    if (service.isEmpty())
        return UsageError;
    if (!bus.interface()->isServiceRegistered(service))
        return noPanelRunning(service);
    if (request.command == "status") {
        State state;
        if (const QDBusError error = readState(bus, service, state); error.isValid())
            return failed(error, service);
        print(request.json ? statusJson(state) : statusText(state));
        if (state.portFailing && !request.json)
            say(state.portError);
        return Done;
    }

    ComQuorvaleKavoPanel2Interface panel(service, remote::ObjectPath, bus);
    panel.setTimeout(ReplyTimeoutMs);
    const QString& c = request.command;
    if (c == "at" || c == "cancel") {
        QDBusPendingReply<> reply =
            c == "at" ? panel.Arm(request.channel, request.time) : panel.Disarm(request.channel);
        reply.waitForFinished();
        return reply.isError() ? failed(reply.error(), service) : Done;
    }
    QDBusPendingReply<bool, QString, QString, QString> reply =
        c == "on"       ? panel.SwitchOn(request.channel)
        : c == "off"    ? panel.SwitchOff(request.channel)
        : c == "all-on" ? panel.AllOn()
        : c == "pulse"  ? panel.Pulse(request.channel, static_cast<uint>(request.pulse.count()))
                        : panel.AllOff();
    reply.waitForFinished();
    if (reply.isError())
        return failed(reply.error(), service);
    // The answer is this command's own write: nobody else's, and no later read.
    if (reply.argumentAt<0>())
        return Done;
    const core::PortStatus status = core::PortStatus::failure(reply.argumentAt<1>().toStdString(),
                                                              reply.argumentAt<2>().toStdString(),
                                                              reply.argumentAt<3>().toStdString());
    say("the panel switched, but the relay board has not: " +
        QString::fromStdString(status.describe()));
    return BoardUnreachable;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    app.setApplicationName("kavo-ctl");
    Request request;
    if (const std::optional<int> exit = parse(app.arguments(), request))
        return *exit;
    return run(request, QDBusConnection::sessionBus());
}
