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
#include "platform/mosquitto/mosquitto_client.h"
#include "platform/port_monitor.h"
#include "platform/qt/device_thread.h"
#include "platform/relay/board_choice.h"
#include "remote/mqtt/bus_link.h"
#include "remote/mqtt/model_link.h"
#include "remote/mqtt/mqtt_bridge.h"
#include "remote/mqtt/mqtt_settings.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QSocketNotifier>
#include <QSysInfo>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <iostream>
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

class NoBeep : public core::Beeper {
  public:
    void beep() override {} // nobody stands at a server to hear it
};

// Runs the bridge until SIGTERM or SIGINT.
int runBridge(QCoreApplication& app, remote::mqtt::Bridge& bridge,
              const std::function<void()>& beforeQuit = {}) {
    QSocketNotifier terminate(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&terminate, &QSocketNotifier::activated, &app, [&] {
        terminate.setEnabled(false);
        if (beforeQuit)
            beforeQuit(); // its last states still go out before the offline
        bridge.stop();
        app.quit();
    });
    bridge.start();
    return app.exec();
}

int runStandalone(QCoreApplication& app, const remote::mqtt::Settings& settings) {
    const auto choice = platform::relay::parseBoardChoice(settings.board.toStdString());
    const cli::ResolvedBoard resolved = cli::resolveBoard(*choice.choice);
    platform::PortMonitor monitor(std::cerr, "kavo-mqtt");
    platform::DeviceThread device(cli::openBoard(resolved),
                                  platform::relay::boardArgument(resolved.board));
    device.setObserver([&](const core::PortStatus& status) { monitor.observe(status); });
    NoBeep beeper;
    const std::unique_ptr<core::Clock> clock = platform::makeSystemClock();
    int status = 0;
    {
        panel::PanelModel model(
            {.port = device, .beeper = beeper, .clock = *clock, .device = &device});
        monitor.setListener([&](const core::PortStatus& s) { model.showPortStatus(s); });
        model.startupReset();
        remote::mqtt::ModelLink link(model);
        platform::mqtt::MosquittoClient client;
        remote::mqtt::Bridge bridge(settings, client, link);
        // The outputs stay as they are, as when the panel's window is closed,
        // but for a pulse's OFF.
        status = runBridge(app, bridge, [&] { model.close(); });
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
    if (!catchTermination()) {
        std::perror("kavo-mqtt: cannot catch SIGTERM");
        return 1;
    }
    if (parsed.settings.standalone)
        return runStandalone(app, parsed.settings);

    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr,
                     "kavo-mqtt: cannot reach the session bus (%s), so no panel can be "
                     "reached\n",
                     qPrintable(bus.lastError().message()));
        return 1;
    }
    remote::mqtt::BusLink link(bus, parsed.settings.board);
    platform::mqtt::MosquittoClient client;
    remote::mqtt::Bridge bridge(parsed.settings, client, link);
    return runBridge(app, bridge);
}
