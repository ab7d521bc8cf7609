// kavo-mqtt: a panel on an MQTT broker, for Home Assistant and other
// home-automation systems. It only connects out: it listens on no port.
// By default the desktop's running panel keeps the relay board and this
// program asks it over the session bus, as kavo-ctl does. Standalone, it
// drives the board itself through the panel's model, as the panel would:
// the board on its own thread, all off at start, the 2 s retry, no beep, and
// at the end the outputs left as they are.
#include "app/command_line.h"
#include "panel/panel_model.h"
#include "platform/default_clock.h"
#include "platform/device_lock.h"
#include "platform/mosquitto/mosquitto_client.h"
#include "platform/port_monitor.h"
#include "platform/qt/device_thread.h"
#include "platform/qt/termination_request.h"
#include "platform/relay/board_choice.h"
#include "remote/mqtt/bus_link.h"
#include "remote/mqtt/discovery.h"
#include "remote/mqtt/model_link.h"
#include "remote/mqtt/mqtt_bridge.h"
#include "remote/mqtt/mqtt_settings.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QEventLoop>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class NoBeep : public core::Beeper {
  public:
    void beep() override {} // nobody stands at a server to hear it
};

// Runs the bridge until SIGTERM or SIGINT.
int runBridge(QCoreApplication& app, platform::TerminationRequest& termination,
              remote::mqtt::Bridge& bridge, const std::function<void()>& beforeQuit = {}) {
    QObject::connect(&termination, &platform::TerminationRequest::requested, &app, [&] {
        if (beforeQuit)
            beforeQuit(); // its last states still go out before the offline
        bridge.stop();
        app.quit();
    });
    bridge.start();
    return app.exec();
}

int runStandalone(QCoreApplication& app, platform::TerminationRequest& termination,
                  const remote::mqtt::Settings& settings) {
    const auto choice = platform::relay::parseBoardChoice(settings.board.toStdString());
    const cli::ResolvedBoard resolved = cli::resolveBoard(*choice.choice);
    std::unique_ptr<core::PortOutput> board = cli::openBoard(resolved);
    // Read here, before the board's thread starts: nothing else uses it yet.
    std::optional<core::OutputsRead> kept;
    if (settings.keepStartState) {
        const std::string name = platform::relay::boardArgument(resolved.board);
        if (!resolved.problem.empty()) {
            std::fprintf(stderr, "kavo-mqtt: cannot read the relays for start_state = keep: %s\n",
                         resolved.problem.c_str());
            return 1;
        }
        kept = board->ReadOutputs();
        if (!kept->canRead) {
            std::fprintf(stderr,
                         "kavo-mqtt: start_state = keep needs a board that reports its relays "
                         "(a USBRelay board); %s cannot, so the bridge could not know what it "
                         "shows\n",
                         name.c_str());
            return 2;
        }
        if (!kept->status.ok) {
            std::fprintf(stderr,
                         "kavo-mqtt: cannot read the relays of %s for start_state = keep: %s\n",
                         name.c_str(), kept->status.describe().c_str());
            return 1;
        }
    }
    platform::PortMonitor monitor(std::cerr, "kavo-mqtt");
    platform::DeviceThread device(std::move(board), platform::relay::boardArgument(resolved.board));
    device.setObserver([&](const core::PortStatus& status) { monitor.observe(status); });
    NoBeep beeper;
    const std::unique_ptr<core::Clock> clock = platform::makeSystemClock();
    int status = 0;
    {
        panel::PanelModel model(
            {.port = device, .beeper = beeper, .clock = *clock, .device = &device});
        monitor.setListener([&](const core::PortStatus& s) { model.showPortStatus(s); });
        if (kept)
            model.adoptOutputs(kept->value);
        else
            model.startupReset();
        remote::mqtt::ModelLink link(model);
        platform::mqtt::MosquittoClient client;
        remote::mqtt::Bridge bridge(settings, client, link);
        // The outputs stay as they are, as when the panel's window is closed,
        // but for a pulse's OFF.
        status = runBridge(app, termination, bridge, [&] { model.close(); });
        monitor.setListener({});
    }
    if (!device.finish())
        std::fprintf(stderr, "kavo-mqtt: the relay board did not answer the last write within a "
                             "second; its relays may not be as published last.\n");
    if (device.abandonedDevice()) {
        std::fflush(stdout);
        std::_Exit(status);
    }
    return status;
}

// One bridge a device on this machine: a second one for the same device (a
// user's service and the system's, or one started by hand) would answer the
// same commands twice. The lock lives in /run/lock, which every user and the
// system service share; null, with the reason, when another bridge holds it.
std::unique_ptr<platform::DeviceLock> lockDevice(const QString& stableId, std::string& whyNot) {
    const std::string path = "/run/lock/kavo-mqtt-" + stableId.toStdString() + ".lock";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd >= 0) {
        ::fchmod(fd, 0666); // whoever runs the next bridge can take it
        ::close(fd);
    }
    auto lock = std::make_unique<platform::DeviceLock>(path);
    if (lock->refused()) {
        whyNot = "another bridge speaks for this device already: " +
                 platform::inUseReason(lock->holder());
        return nullptr;
    }
    if (lock->openError())
        std::fprintf(stderr,
                     "kavo-mqtt: warning: cannot lock %s (%s); a second bridge for this "
                     "device would not be refused\n",
                     path.c_str(), std::strerror(lock->openError()));
    return lock;
}

// Across machines, best effort: a node id whose owner record names another
// device, while its availability says online, belongs to a live bridge
// elsewhere. Read with a probe client of its own before this bridge connects
// as itself; a broker that cannot be reached now is no reason to refuse.
// The reason, or empty.
QString nodeTakenElsewhere(const remote::mqtt::Settings& settings) {
    platform::mqtt::MosquittoClient probe;
    platform::mqtt::Endpoint endpoint = settings.endpoint;
    endpoint.clientId = "kavo-mqtt-" + remote::mqtt::stableIdOf(settings) + "-probe";
    endpoint.will = {};
    const QString owner = remote::mqtt::nodeTopic(settings, "owner");
    const QString availability = remote::mqtt::nodeTopic(settings, "availability");
    QHash<QString, QByteArray> seen;
    QEventLoop loop;
    QTimer enough;
    enough.setSingleShot(true);
    QObject::connect(&enough, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&probe, &platform::mqtt::Client::connected, &loop, [&] {
        probe.subscribe(owner);
        probe.subscribe(availability);
        enough.start(1000); // retained messages come at once after the subscription
    });
    QObject::connect(&probe, &platform::mqtt::Client::disconnected, &loop, &QEventLoop::quit);
    QObject::connect(&probe, &platform::mqtt::Client::message, &loop,
                     [&](const QString& topic, const QByteArray& payload, bool) {
                         seen.insert(topic, payload);
                         if (seen.size() == 2)
                             loop.quit();
                     });
    QString whyNot;
    if (!probe.connectTo(endpoint, &whyNot))
        return {};
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &loop, &QEventLoop::quit);
    giveUp.start(5000);
    loop.exec();
    probe.disconnectCleanly();
    const QString device =
        QJsonDocument::fromJson(seen.value(owner)).object().value("device").toString();
    if (device.isEmpty() || device == remote::mqtt::stableIdOf(settings) ||
        seen.value(availability) != "online")
        return {};
    return QString("the node id %1 is taken: a bridge for another device (%2) is online under it; "
                   "give this one a node_id of its own")
        .arg(settings.nodeId, device);
}

// Clears every retained topic of this node, then ends: Home Assistant forgets
// the device, and the broker keeps nothing of it.
int unpublish(QCoreApplication& app, remote::mqtt::Settings settings) {
    platform::mqtt::MosquittoClient client;
    settings.endpoint.clientId = "kavo-mqtt-" + remote::mqtt::stableIdOf(settings) + "-unpublish";
    bool cleared = false;
    QObject::connect(
        &client, &platform::mqtt::Client::connected, &app,
        [&] {
            const QStringList topics = remote::mqtt::retainedTopics(settings);
            for (const QString& topic : topics)
                client.publish(topic, {}, true);
            std::fprintf(stderr, "kavo-mqtt: cleared the %lld retained topics of node %s\n",
                         static_cast<long long>(topics.size()), qPrintable(settings.nodeId));
            cleared = true;
            client.disconnectCleanly();
        },
        Qt::QueuedConnection); // from the event loop, not inside the library's callback
    // Once, not again and again as the bridge does: this is a command.
    QObject::connect(&client, &platform::mqtt::Client::disconnected, &app,
                     [&](const QString& reason) {
                         if (!cleared)
                             std::fprintf(stderr, "kavo-mqtt: cannot reach the broker %s (%s)\n",
                                          qPrintable(settings.broker), qPrintable(reason));
                         app.quit();
                     });
    QString whyNot;
    if (!client.connectTo(settings.endpoint, &whyNot)) {
        std::fprintf(stderr, "kavo-mqtt: cannot reach the broker %s (%s)\n",
                     qPrintable(settings.broker), qPrintable(whyNot));
        return 1;
    }
    app.exec();
    return cleared ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    app.setApplicationName("kavo-mqtt");
    const remote::mqtt::Parsed parsed = remote::mqtt::parseSettings(
        app.arguments().mid(1), QProcessEnvironment::systemEnvironment(),
        QSysInfo::machineHostName());
    if (parsed.exit) {
        std::fputs(qPrintable(parsed.out), stdout);
        std::fputs(qPrintable(parsed.err), stderr);
        return *parsed.exit;
    }
    for (const QString& warning : parsed.warnings)
        std::fprintf(stderr, "kavo-mqtt: warning: %s\n", qPrintable(warning));
    remote::mqtt::Settings settings = parsed.settings;
    settings.stableId =
        remote::mqtt::stableId(remote::mqtt::readMachineId(), settings.board, settings.nodeId);
    if (settings.unpublish)
        return unpublish(app, settings);
    std::string whyNot;
    const std::unique_ptr<platform::DeviceLock> device = lockDevice(settings.stableId, whyNot);
    if (!device) {
        std::fprintf(stderr, "kavo-mqtt: %s\n", whyNot.c_str());
        return 1;
    }
    if (const QString taken = nodeTakenElsewhere(settings); !taken.isEmpty()) {
        std::fprintf(stderr, "kavo-mqtt: %s\n", qPrintable(taken));
        return 1;
    }
    platform::TerminationRequest termination;
    if (!termination.catching()) {
        std::perror("kavo-mqtt: cannot catch SIGTERM");
        return 1;
    }
    if (settings.standalone)
        return runStandalone(app, termination, settings);

    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr,
                     "kavo-mqtt: cannot reach the session bus (%s), so no panel can be "
                     "reached\n",
                     qPrintable(bus.lastError().message()));
        return 1;
    }
    remote::mqtt::BusLink link(bus, settings.board);
    platform::mqtt::MosquittoClient client;
    remote::mqtt::Bridge bridge(settings, client, link);
    return runBridge(app, termination, bridge);
}
