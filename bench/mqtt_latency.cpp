// Measures commands through an MQTT broker on loopback: the delay from
// publishing ON/OFF to the write reaching the board (stamped by the
// write_clock preload ahead of the port stand-in) and to the state message
// coming back; median, p99 and maximum. Side by side in the same run:
//   - kavo-mqtt and the panel on the parallel port (ppdev stand-in)
//   - kavo-mqtt and the panel on a USB HID relay board (hidraw stand-in)
//   - kavo-mqtt --standalone on each of those, with no panel
//   - Debian's usbrelayd (usbrelay's MQTT daemon) on the same kind of USB HID
//     board through the same stand-in, where it is installed
// Runs itself in a private session bus. Usage: mqtt_latency [commands]
#include "free_port.h"
#include "platform/mosquitto/mosquitto_client.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <unistd.h>
#include <vector>

namespace {

using platform::mqtt::MosquittoClient;

std::int64_t nowNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

void stop(QProcess& p) {
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished();
    }
}

struct Stats {
    double median = 0, p99 = 0, max = 0;
};
Stats stats(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    if (v.empty())
        return {};
    const auto at = [&](double q) {
        const auto i =
            static_cast<std::size_t>(std::max(0.0, q * static_cast<double>(v.size()) - 1));
        return v[std::min(i, v.size() - 1)];
    };
    return {v[v.size() / 2], at(0.99), v.back()};
}

struct Row {
    QString name;
    QString failure; // not measured, and why
    std::vector<double> toWrite, toState;
};

class Bench {
  public:
    Bench(int commands) : commands_(commands) { connect(); }

    bool startBroker() {
        QFile settings(dir_.filePath("bench.conf"));
        if (!settings.open(QIODevice::WriteOnly))
            return false;
        settings.close();
        port_ = freeLoopbackPort();
        const QString mosquitto =
            QStandardPaths::findExecutable("mosquitto", {"/usr/sbin", "/usr/bin"});
        if (mosquitto.isEmpty())
            return false;
        QFile conf(dir_.filePath("mosquitto.conf"));
        if (!conf.open(QIODevice::WriteOnly))
            return false;
        // Without set_tcp_nodelay the broker holds a small packet back until
        // the last one is acknowledged: up to 40 ms a hop on Linux.
        conf.write(QString("listener %1 127.0.0.1\nallow_anonymous true\npersistence false\n"
                           "set_tcp_nodelay true\n")
                       .arg(port_)
                       .toUtf8());
        conf.close();
        broker_.start(mosquitto, {"-c", conf.fileName()});
        if (!broker_.waitForStarted())
            return false;
        for (int i = 0; i < 50 && !client_.isConnected(); ++i) {
            platform::mqtt::Endpoint e;
            e.host = "127.0.0.1";
            e.port = port_;
            e.clientId = "kavo-bench";
            QString whyNot;
            if (client_.connectTo(e, &whyNot))
                (void)QTest::qWaitFor([&] { return client_.isConnected(); }, 200);
            else
                QTest::qWait(100);
        }
        return client_.isConnected();
    }

    ~Bench() {
        client_.disconnectCleanly();
        stop(broker_);
    }

    QProcessEnvironment environment(const QString& preload, const QString& log) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("LD_PRELOAD", preload);
        env.insert("KAVO_WRITE_CLOCK_FILE", log);
        env.insert("KAVO_BENCH_BOARD_ID", "BENCH");
        env.insert("PPDEV_SHIM_DEVICE", "/dev/parport0");
        env.insert("ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=0");
        return env;
    }

    // The panel with the given board and the bridge in front of it.
    Row panel(const QString& name, const QStringList& panelArgs, const QString& preload) {
        Row row{name, {}, {}, {}};
        const QString log = dir_.filePath(QString("writes-%1.log").arg(run_++));
        QProcess panel, bridge;
        panel.setProcessEnvironment(environment(preload, log));
        panel.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        panel.start(KAVO_PANEL, panelArgs);
        bridge.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // The bridge follows the panel of the same board.
        bridge.start(KAVO_MQTT,
                     QStringList{QString("--broker=mqtt://127.0.0.1:%1").arg(port_),
                                 "--node-id=bench", "--config=" + dir_.filePath("bench.conf")} +
                         panelArgs);
        const QString node = "kavo/bench/";
        if (!waitFor(node + "availability", "online", 30000))
            row.failure = "the bridge did not report the panel online";
        else
            measure(row, node + "channel/1/set", node + "channel/1/state", log);
        stop(bridge);
        stop(panel);
        QTest::qWait(200);
        return row;
    }

    // kavo-mqtt alone, driving the board itself (--standalone).
    Row standalone(const QString& name, const QStringList& boardArgs, const QString& preload) {
        Row row{name, {}, {}, {}};
        const QString log = dir_.filePath(QString("writes-%1.log").arg(run_++));
        QProcess bridge;
        bridge.setProcessEnvironment(environment(preload, log));
        bridge.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        bridge.start(KAVO_MQTT, QStringList{QString("--broker=mqtt://127.0.0.1:%1").arg(port_),
                                            "--node-id=bench", "--standalone",
                                            "--config=" + dir_.filePath("bench.conf")} +
                                    boardArgs);
        const QString node = "kavo/bench/";
        if (!waitFor(node + "availability", "online", 30000))
            row.failure = "the standalone bridge did not come online";
        else
            measure(row, node + "channel/1/set", node + "channel/1/state", log);
        stop(bridge);
        QTest::qWait(200);
        return row;
    }

    // usbrelayd as Debian ships it; only its settings file and the broker's
    // port are pointed at this run (it reads /etc/usbrelayd.conf and port 1883).
    Row usbrelayd() {
        Row row{"usbrelayd 1.0, USB HID board (hidraw stand-in)", {}, {}, {}};
        if (!QFile::exists("/usr/sbin/usbrelayd")) {
            row.failure = "usbrelayd is not installed (scripts/setup.sh installs it)";
            return row;
        }
        const QString conf = dir_.filePath("usbrelayd.conf");
        QFile file(conf);
        if (!file.open(QIODevice::WriteOnly))
            return row;
        file.write("[MQTT]\nBROKER = 127.0.0.1\nCLIENTNAME = kavo-bench-usbrelayd\n");
        file.close();
        const QString prelude = QString(R"(
import configparser, runpy, paho.mqtt.client as mqtt
read = configparser.ConfigParser.read
configparser.ConfigParser.read = lambda self, files, encoding=None: read(self, %1)
connect = mqtt.Client.connect
mqtt.Client.connect = lambda self, host, port=1883, *a, **k: connect(self, host, %2, *a, **k)
runpy.run_path("/usr/sbin/usbrelayd", run_name="__main__")
)")
                                    .arg("'" + conf + "'")
                                    .arg(port_);
        const QString log = dir_.filePath("writes-usbrelayd.log");
        QProcess daemon;
        daemon.setProcessEnvironment(environment(
            QString(KAVO_WRITE_CLOCK) + " " + KAVO_USBRELAY_BOARD + " " + KAVO_HIDRAW_SHIM, log));
        daemon.setStandardOutputFile(dir_.filePath("usbrelayd.out"));
        daemon.setStandardErrorFile(dir_.filePath("usbrelayd.err"));
        daemon.start("/usr/bin/python3", {"-c", prelude}); // Debian's, with its modules
        client_.subscribe("stat/#");
        if (!waitFor("stat/BENCH/1", "OFF", 30000)) {
            QFile err(dir_.filePath("usbrelayd.err")), out(dir_.filePath("usbrelayd.out"));
            err.open(QIODevice::ReadOnly);
            out.open(QIODevice::ReadOnly);
            row.failure = "usbrelayd did not report the stand-in board: " +
                          QString::fromUtf8(out.readAll() + err.readAll()).simplified().left(300);
        } else {
            measure(row, "cmnd/BENCH/1", "stat/BENCH/1", log);
        }
        if (!row.failure.isEmpty()) {
            QFile err(dir_.filePath("usbrelayd.err"));
            err.open(QIODevice::ReadOnly);
            row.failure +=
                "; usbrelayd: " + QString::fromUtf8(err.readAll()).simplified().left(200);
        }
        stop(daemon);
        return row;
    }

  private:
    void connect() {
        QObject::connect(&client_, &MosquittoClient::message,
                         [this](const QString& topic, const QByteArray& payload, bool) {
                             last_[topic] = {payload, nowNs()};
                         });
    }

    // Runs the event loop until `done` holds, looking again at each message
    // and every millisecond. (QTest::qWaitFor sleeps 10 ms between its
    // rounds, so a message stamped on arrival would be stamped up to 10 ms
    // late: it did so in this bench's first table.)
    bool waitUntil(const std::function<bool()>& done, int ms) {
        if (done())
            return true;
        QEventLoop loop;
        QTimer look, give;
        look.setTimerType(Qt::PreciseTimer);
        QObject::connect(&look, &QTimer::timeout, &loop, [&] {
            if (done())
                loop.quit();
        });
        const auto seen = QObject::connect(&client_, &MosquittoClient::message, &loop, [&] {
            if (done())
                loop.quit();
        });
        give.setSingleShot(true);
        QObject::connect(&give, &QTimer::timeout, &loop, &QEventLoop::quit);
        look.start(1);
        give.start(ms);
        loop.exec();
        QObject::disconnect(seen);
        return done();
    }

    bool waitFor(const QString& topic, const QByteArray& payload, int ms) {
        client_.subscribe(topic);
        return QTest::qWaitFor([&] { return last_.value(topic).payload == payload; }, ms);
    }

    static std::vector<std::int64_t> stamps(const QString& log) {
        std::vector<std::int64_t> all;
        QFile file(log);
        if (file.open(QIODevice::ReadOnly))
            for (const QByteArray& line : file.readAll().split('\n'))
                if (!line.isEmpty())
                    all.push_back(line.toLongLong());
        return all;
    }

    void measure(Row& row, const QString& command, const QString& state, const QString& log) {
        client_.subscribe(state);
        QTest::qWait(300);
        bool on = last_.value(state).payload == "ON";
        for (int i = 0; i < commands_; ++i) {
            on = !on;
            const QByteArray payload = on ? "ON" : "OFF";
            const std::size_t before = stamps(log).size();
            const std::int64_t sent = nowNs();
            client_.publish(command, payload, false);
            const bool answered = waitUntil(
                [&] {
                    const Seen s = last_.value(state);
                    return s.at > sent && s.payload == payload && stamps(log).size() > before;
                },
                5000);
            if (!answered) {
                row.failure = QString("command %1 got no answer within 5 s").arg(i + 1);
                return;
            }
            row.toWrite.push_back(static_cast<double>(stamps(log)[before] - sent) / 1e6);
            row.toState.push_back(static_cast<double>(last_.value(state).at - sent) / 1e6);
            QTest::qWait(5);
        }
    }

    struct Seen {
        QByteArray payload;
        std::int64_t at = 0;
    };
    int commands_;
    int port_ = 0;
    int run_ = 0;
    QTemporaryDir dir_;
    QProcess broker_;
    MosquittoClient client_;
    QHash<QString, Seen> last_;
};

void print(const Row& row, int commands) {
    if (!row.failure.isEmpty()) {
        std::printf("| %s | not measured: %s | | | | | |\n", qPrintable(row.name),
                    qPrintable(row.failure));
        return;
    }
    const Stats w = stats(row.toWrite), s = stats(row.toState);
    std::printf("| %s | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f |\n", qPrintable(row.name),
                w.median, w.p99, w.max, s.median, s.p99, s.max);
    (void)commands;
}

} // namespace

int main(int argc, char** argv) {
    // A private session bus, so the bench never meets the user's panel.
    if (!qEnvironmentVariableIsSet("KAVO_BENCH_PRIVATE_BUS")) {
        setenv("KAVO_BENCH_PRIVATE_BUS", "1", 1);
        std::vector<char*> args{const_cast<char*>("dbus-run-session"), const_cast<char*>("--")};
        for (int i = 0; i < argc; ++i)
            args.push_back(argv[i]);
        args.push_back(nullptr);
        execvp("dbus-run-session", args.data());
        std::perror("mqtt_latency: dbus-run-session");
        return 1;
    }
    QCoreApplication app(argc, argv);
    const int commands = argc > 1 ? std::max(2, std::atoi(argv[1])) : 200;
    Bench bench(commands);
    if (!bench.startBroker()) {
        std::fprintf(stderr, "mqtt_latency: cannot start mosquitto on loopback\n");
        return 1;
    }
    const QString clock = KAVO_WRITE_CLOCK;
    const Row rows[] = {
        bench.panel("kavo-mqtt + panel, parallel port (ppdev stand-in)", {},
                    clock + " " + KAVO_PPDEV_SHIM + " " + KAVO_UNPLUGGED_SHIM),
        bench.panel("kavo-mqtt + panel, USB HID board (hidraw stand-in)", {"--board=usb-hid:BENCH"},
                    clock + " " + KAVO_USBRELAY_BOARD + " " + KAVO_HIDRAW_SHIM),
        bench.standalone("kavo-mqtt --standalone, parallel port (ppdev stand-in)", {},
                         clock + " " + KAVO_PPDEV_SHIM + " " + KAVO_UNPLUGGED_SHIM),
        bench.standalone("kavo-mqtt --standalone, USB HID board (hidraw stand-in)",
                         {"--board=usb-hid:BENCH"},
                         clock + " " + KAVO_USBRELAY_BOARD + " " + KAVO_HIDRAW_SHIM),
        bench.usbrelayd(),
    };
    std::printf("%d commands each, alternating ON/OFF, one at a time, loopback broker; ms\n\n",
                commands);
    std::printf("| | publish to write: median | p99 | max | publish to state: median | p99 | max "
                "|\n|---|---|---|---|---|---|---|\n");
    for (const Row& row : rows)
        print(row, commands);
    return 0;
}
