// kavo-mqtt: the running panel on an MQTT broker, for Home Assistant and
// other home-automation systems. The panel keeps the relay board; this
// program only asks it over the session bus, as kavo-ctl does, and only
// connects out: it listens on no port.
#include "platform/mosquitto/mosquitto_client.h"
#include "remote/mqtt/mqtt_bridge.h"
#include "remote/mqtt/mqtt_settings.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QSocketNotifier>
#include <QSysInfo>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

// Only the write is safe here; the event loop does the rest.
void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

bool catchTermination() {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGINT, &action, nullptr) == 0;
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

    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr,
                     "kavo-mqtt: cannot reach the session bus (%s), so no panel can be "
                     "reached\n",
                     qPrintable(bus.lastError().message()));
        return 1;
    }
    if (!catchTermination()) {
        std::perror("kavo-mqtt: cannot catch SIGTERM");
        return 1;
    }

    platform::mqtt::MosquittoClient client;
    remote::mqtt::Bridge bridge(parsed.settings, client, bus);
    QSocketNotifier terminate(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&terminate, &QSocketNotifier::activated, &app, [&] {
        terminate.setEnabled(false);
        bridge.stop();
        app.quit();
    });
    bridge.start();
    return app.exec();
}
