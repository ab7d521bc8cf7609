// What the user gets to see of port failures: log lines and indicator updates.
#include "platform/port_monitor.h"

#include <QTest>

#include <sstream>
#include <vector>

using core::PortOutput;
using core::PortStatus;
using platform::PortMonitor;

namespace {

// Outcomes by name, so the tables below read as a story.
PortStatus outcome(const QString& name) {
    if (name == "ok")
        return PortStatus::success("/dev/parport0");
    if (name == "busy")
        return PortStatus::failure("/dev/parport0", "Device or resource busy", "Unload lp.");
    if (name == "denied")
        return PortStatus::failure("/dev/parport0", "Permission denied", "Join the group lp.");
    if (name == "busyElsewhere")
        return PortStatus::failure("/dev/parport1", "Device or resource busy", "Unload lp.");
    qFatal("unknown outcome");
}

// Answers each write with the next outcome of its script.
class ScriptedPort : public PortOutput {
  public:
    explicit ScriptedPort(QStringList script) : script_(std::move(script)) {}
    PortStatus PortOut(std::uint16_t port, std::uint8_t value) override {
        writes.emplace_back(port, value);
        return outcome(script_.at(static_cast<qsizetype>(writes.size()) - 1));
    }
    std::vector<std::pair<std::uint16_t, std::uint8_t>> writes;

  private:
    QStringList script_;
};

QStringList lines(const std::ostringstream& log) {
    return QString::fromStdString(log.str()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

class PortMonitorTest : public QObject {
    Q_OBJECT

  private slots:
    void reportsChangesOnly_data() {
        QTest::addColumn<QStringList>("script");
        // One entry per expected log line: the failure it reports, or "again".
        QTest::addColumn<QStringList>("logged");
        QTest::addColumn<QStringList>("heard");

        using L = QStringList;
        QTest::newRow("first success is silent") << L{"ok", "ok"} << L{} << L{"ok"};
        QTest::newRow("a failure is logged once")
            << L{"busy", "busy", "busy"} << L{"busy"} << L{"busy"};
        QTest::newRow("a new reason is logged")
            << L{"busy", "denied", "denied"} << L{"busy", "denied"} << L{"busy", "denied"};
        QTest::newRow("same error on another device is a new reason")
            << L{"busy", "busyElsewhere"} << L{"busy", "busyElsewhere"}
            << L{"busy", "busyElsewhere"};
        QTest::newRow("recovery is logged once")
            << L{"busy", "ok", "ok"} << L{"busy", "again"} << L{"busy", "ok"};
        QTest::newRow("failing after success, recovering, failing again")
            << L{"ok", "busy", "ok", "busy"} << L{"busy", "again", "busy"}
            << L{"ok", "busy", "ok", "busy"};
    }
    void reportsChangesOnly() {
        QFETCH(QStringList, script);
        QFETCH(QStringList, logged);
        QFETCH(QStringList, heard);

        ScriptedPort backend(script);
        std::ostringstream log;
        PortMonitor monitor(backend, log);
        QStringList listened;
        monitor.setListener([&](const PortStatus& status) {
            for (const char* name : {"ok", "busy", "denied", "busyElsewhere"})
                if (outcome(name).sameReason(status))
                    listened << name;
        });

        for (int i = 0; i < script.size(); ++i) {
            const PortStatus status = monitor.PortOut(888, static_cast<std::uint8_t>(i));
            QVERIFY(status.sameReason(outcome(script[i])));
            QCOMPARE(backend.writes.back(), std::make_pair(std::uint16_t{888}, std::uint8_t(i)));
        }

        const QStringList written = lines(log);
        QCOMPARE(written.size(), logged.size());
        for (int i = 0; i < logged.size(); ++i) {
            const QString& line = written[i];
            QVERIFY2(line.startsWith("kavo-panel: "), qPrintable(line));
            if (logged[i] == "again") {
                QVERIFY2(line.contains("/dev/parport0") && line.contains("again"),
                         qPrintable(line));
                continue;
            }
            // A failure line names the device, the system's reason and the fix.
            const PortStatus failure = outcome(logged[i]);
            for (const std::string& part : {failure.device, failure.error, failure.fix})
                QVERIFY2(line.contains(QString::fromStdString(part)), qPrintable(line));
        }
        QCOMPARE(listened, heard);
    }

    void lateListenerHearsTheCurrentState() {
        ScriptedPort backend({"denied"});
        std::ostringstream log;
        PortMonitor monitor(backend, log);
        int calls = 0;
        monitor.setListener([&](const PortStatus&) { ++calls; });
        QCOMPARE(calls, 0);

        monitor.PortOut(888, 0);
        bool lastOk = true;
        monitor.setListener([&](const PortStatus& status) { lastOk = status.ok; });
        QVERIFY(!lastOk);
    }
};

QTEST_APPLESS_MAIN(PortMonitorTest)
#include "port_monitor_test.moc"
