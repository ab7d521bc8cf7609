#include "form_rig.h"
#include "platform/qt/device_thread.h"
#include "ui/error_report.h"

#include <QTest>
#include <QTimer>

#include <sstream>
#include <stdexcept>

// An error no handler traps reaches the one top-level report, whatever
// delivered the event that raised it, start-up and the board's thread included: one line on the
// log, the message shown, and the program ends through its event loop with
// a failure status.
class TestErrorReport : public QObject {
    Q_OBJECT
    struct ThrowingPort : core::PortOutput {
        core::PortStatus PortOut(std::uint16_t, std::uint8_t) override {
            throw std::runtime_error("the driver broke");
        }
    };
    ui::Application* app() { return static_cast<ui::Application*>(QCoreApplication::instance()); }

  private slots:
    void uncaughtErrorsReachTheReport() {
        std::ostringstream log;
        QStringList reports;
        app()->setLog(log);
        app()->setReport([&](const QString& message) { reports << message; });
        QTimer::singleShot(0, [] { throw std::runtime_error("the window could not be created"); });
        QTimer::singleShot(0, [] { throw 42; });
        platform::DeviceThread device(std::make_unique<ThrowingPort>(), "stand-in");
        device.PortOut(core::ParallelDataPort, 1);
        QTRY_COMPARE(reports.size(), 3);
        QVERIFY(reports[0].contains("the window could not be created"));
        QVERIFY(!reports[1].isEmpty());
        QVERIFY(reports[2].contains("the driver broke"));
        QVERIFY(QString::fromStdString(log.str()).startsWith(
            "test_error_report: Run-time error: the window could not be"));
    }

    void anErrorWhileTheWindowsAreBuiltEndsTheProgram() {
        std::ostringstream log;
        QStringList reports;
        app()->setLog(log);
        app()->setReport([&](const QString& message) { reports << message; });
        bool laterEventRan = false;
        QObject scope; // the timer must not outlive this test's locals
        const int status = app()->run([&] {
            QTimer::singleShot(50, &scope, [&] { laterEventRan = true; });
            throw std::runtime_error("missing picture :/main/skin/lily");
        });
        QCOMPARE(status, 1);
        QCOMPARE(reports, QStringList{"Run-time error: missing picture :/main/skin/lily"});
        QCOMPARE(QString::fromStdString(log.str()),
                 QString("test_error_report: Run-time error: missing picture :/main/skin/lily\n"));
        QVERIFY(!laterEventRan);
    }

    // The report's own event loop runs timers; by then the window is halted,
    // so a row that comes due while the box shows switches nothing.
    void aRowDueDuringTheReportDoesNotFire() {
        FormRig rig;
        rig.show();
        rig.f().Text(1)->setText("18:00:00");
        rig.f().Check(1)->setCheckState(Qt::Checked);
        QVERIFY(rig.f().timerPanel().isArmed(1));
        std::ostringstream log;
        bool reported = false;
        app()->setLog(log);
        app()->setHalt([&] { rig.f().halt(); });
        app()->setReport([&](const QString&) {
            rig.clock.setTime(18, 0, 0, 5);
            QTest::qWait(1500); // the box is on screen
            reported = true;
        });
        rig.port.writes.clear();
        QTimer::singleShot(0, [] { throw std::runtime_error("a handler failed"); });
        QTRY_VERIFY(reported);
        QVERIFY(rig.port.writes.empty());
        QVERIFY(rig.f().isUnloaded());
    }

    void aCleanStartRunsUntilTheProgramEnds() {
        const int status =
            app()->run([] { QTimer::singleShot(0, [] { QCoreApplication::exit(0); }); });
        QCOMPARE(status, 0);
    }
};

int main(int argc, char** argv) {
    ui::Application app(argc, argv);
    TestErrorReport test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_error_report.moc"
