// kavo-ctl end to end: the real kavo-ctl against the real kavo-panel
// (offscreen) in the test's private session bus, with a stand-in ppdev device
// whose log shows every byte that reaches the "board". Each command's output,
// stderr line and exit status, and what it wrote. And one panel per board: a
// second one for the same board brings the first forward and ends.
#include "e2e/panel_run.h"
#include "e2e/window_titles.h"
#include "e2e/x_session.h"
#include "remote/bus_names.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTime>

namespace {

struct Result {
    int exit = -1;
    QString out;
    QString err;
};

// A row armed for this time stays armed for the whole test: it passed an
// hour ago, so it comes again only in 23 hours.
QString anHourAgo() {
    return QTime::currentTime().addSecs(-3600).toString("HH:mm:ss");
}

} // namespace

class TestKavoCtl : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    PanelRun panel;
    const QString noPanel = "kavo-ctl: no panel is running in this session (nothing owns "
                            "com.quorvale.KavoPanel on the session bus)\n";

    static Result ctl(const QStringList& args,
                      const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(KAVO_CTL, args);
        Result r;
        if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
            return r;
        r.exit = p.exitCode();
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    static QProcessEnvironment offscreen() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        return env;
    }

    // Offscreen unless told otherwise. The unplugged-board shim comes after
    // the ppdev stand-in, or alone, so no real port is ever touched.
    static bool start(PanelRun& run, const QStringList& args = {},
                      QProcess::ProcessChannelMode channels = QProcess::SeparateChannels,
                      const QProcessEnvironment& session = offscreen()) {
        run.preload(KAVO_UNPLUGGED_SHIM);
        return run.start(session, args, channels);
    }

    static bool panelOnTheBus(const QString& name = remote::ServiceName) {
        return QDBusConnection::sessionBus().interface()->isServiceRegistered(name);
    }

    // A second panel for a board that a panel drives: it ends at once, with
    // the one line, having opened no port.
    static void secondPanelEnds(PanelRun& second) {
        QVERIFY(second.process().waitForFinished(30000));
        QCOMPARE(second.process().exitStatus(), QProcess::NormalExit);
        const QString err = QString::fromUtf8(second.process().readAllStandardError());
        QVERIFY2(err.endsWith("kavo-panel: a panel for this board is running already; brought "
                              "it to the front\n"),
                 qPrintable(err));
        QCOMPARE(err.count("running already"), 1);
        QCOMPARE(second.process().exitCode(), 0);
        QCOMPARE(second.portCalls(), QString());
    }

    // Runs a command and checks what it says and what it leaves on the port.
    void check(const QStringList& args, int exit, const QString& out, const QString& err,
               const QString& bytes) {
        const Result r = ctl(args);
        QCOMPARE(r.err, err);
        QCOMPARE(r.out, out);
        QCOMPARE(r.exit, exit);
        QTRY_COMPARE(panel.bytesWritten(), bytes);
    }

  private slots:
    void initTestCase() {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("no session bus: run this test inside dbus-run-session (ctest does)");
        QVERIFY(dir.isValid());
        QVERIFY(!panelOnTheBus());
    }

    void withoutAPanel_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("status") << QStringList{"status"};
        QTest::newRow("status --json") << QStringList{"status", "--json"};
        QTest::newRow("on") << QStringList{"on", "1"};
        QTest::newRow("all-off") << QStringList{"all-off"};
        QTest::newRow("at") << QStringList{"at", "1", "18:00:00"};
        QTest::newRow("cancel") << QStringList{"cancel", "4"};
    }
    void withoutAPanel() {
        QFETCH(QStringList, args);
        const Result r = ctl(args);
        QCOMPARE(r.err, noPanel);
        QCOMPARE(r.out, QString());
        QCOMPARE(r.exit, 3);
    }

    void withoutASessionBus() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + dir.filePath("no-bus"));
        const Result r = ctl({"on", "1"}, env);
        QVERIFY2(r.err.startsWith("kavo-ctl: cannot reach the session bus ("), qPrintable(r.err));
        QVERIFY(r.err.endsWith("), so no panel can be reached\n"));
        QCOMPARE(r.err.count('\n'), 1);
        QCOMPARE(r.exit, 3);
    }

    void helpAndVersion() {
        const Result help = ctl({"--help"});
        QCOMPARE(help.exit, 0);
        QVERIFY(help.out.startsWith("Usage: kavo-ctl [--board=BOARD] COMMAND\n"));
        for (const char* command :
             {"on N", "off N", "all-on", "all-off", "at N HH:MM:SS", "cancel N", "status [--json]"})
            QVERIFY2(help.out.contains(QString("\n  ") + command + " "), command);
        QCOMPARE(help.err, QString());
        const Result version = ctl({"--version"});
        QCOMPARE(version.out, QString("kavo-ctl 1.1.0\n"));
        QCOMPARE(version.exit, 0);
    }

    // kavo-panel's spellings: each does what its other spelling does.
    void spellingsAsThePanelTakesThem_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("sameAs");
        QTest::addColumn<int>("exit");
        QTest::newRow("-v") << QStringList{"-v"} << QStringList{"--version"} << 0;
        // No panel drives that board: the name it is not found under shows
        // that the board was read.
        QTest::newRow("--board BOARD") << QStringList{"--board", "serial:ttyUSB7", "status"}
                                       << QStringList{"--board=serial:ttyUSB7", "status"} << 3;
    }
    void spellingsAsThePanelTakesThem() {
        QFETCH(QStringList, args);
        QFETCH(QStringList, sameAs);
        QFETCH(int, exit);
        const Result r = ctl(args);
        const Result other = ctl(sameAs);
        QCOMPARE(r.exit, exit);
        QCOMPARE(r.err, other.err);
        QCOMPARE(r.out, other.out);
        QCOMPARE(other.exit, exit);
    }

    void thePanelTakesTheNameAtStart() {
        QVERIFY(start(panel, {}, QProcess::ForwardedOutputChannel));
        panel.waitUntil([] { return panelOnTheBus(); });
        QVERIFY2(panelOnTheBus(), qPrintable(panel.process().readAllStandardError()));
        QCOMPARE(panel.bytesWritten(), QString("00"));
        QVERIFY(!panel.process().readAllStandardError().contains("kavo-ctl cannot reach"));
    }

    void usageErrors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("problem");
        QTest::newRow("nothing") << QStringList{} << "no command given";
        QTest::newRow("unknown command")
            << QStringList{"toggle", "1"} << "unknown command \"toggle\"";
        QTest::newRow("unknown option")
            << QStringList{"--all", "on", "1"} << "unknown option \"--all\"";
        QTest::newRow("on without a channel")
            << QStringList{"on"} << "\"on\" needs a channel number, 1 to 4";
        QTest::newRow("channel 5")
            << QStringList{"on", "5"} << "there is no channel \"5\"; channels are 1 to 4";
        QTest::newRow("channel 0")
            << QStringList{"off", "0"} << "there is no channel \"0\"; channels are 1 to 4";
        QTest::newRow("channel -1")
            << QStringList{"off", "-1"} << "there is no channel \"-1\"; channels are 1 to 4";
        QTest::newRow("channel 01")
            << QStringList{"on", "01"} << "there is no channel \"01\"; channels are 1 to 4";
        QTest::newRow("channel x")
            << QStringList{"cancel", "x"} << "there is no channel \"x\"; channels are 1 to 4";
        QTest::newRow("channel %2")
            << QStringList{"on", "%2"} << "there is no channel \"%2\"; channels are 1 to 4";
        QTest::newRow("at without a time")
            << QStringList{"at", "3"}
            << "\"at\" needs a channel number and a time, as in: kavo-ctl at 3 18:00:00";
        QTest::newRow("at channel 7") << QStringList{"at", "7", "18:00:00"}
                                      << "there is no channel \"7\"; channels are 1 to 4";
        QTest::newRow("two channels")
            << QStringList{"on", "1", "2"} << "too many arguments for \"on\"";
        QTest::newRow("all-on with a channel")
            << QStringList{"all-on", "1"} << "too many arguments for \"all-on\"";
        QTest::newRow("--json with on")
            << QStringList{"on", "1", "--json"} << "--json goes only with \"status\"";
        QTest::newRow("--board without its board")
            << QStringList{"status", "--board"} << "missing value after '--board'";
        QTest::newRow("pulse too short")
            << QStringList{"pulse", "1", "50ms"}
            << "\"50ms\" is no pulse length; a pulse lasts 100ms to 1h, as in 500ms or 2s";
        QTest::newRow("pulse with two lengths")
            << QStringList{"pulse", "1", "1s", "2s"} << "too many arguments for \"pulse\"";
    }
    // Usage errors never reach the panel, even when it would refuse too.
    void usageErrors() {
        QFETCH(QStringList, args);
        QFETCH(QString, problem);
        check(args, 2, QString(), "kavo-ctl: " + problem + "; see kavo-ctl --help\n", "00");
    }

    void commandsAgainstTheRunningPanel_data() {
        // The rows run in order against the one panel; the bytes are every
        // byte written since it started.
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("bytes");
        const QString past = anHourAgo();
        auto lines = [](const QStringList& channels) {
            QString text;
            for (int n = 1; n <= 4; ++n)
                text += QString("channel %1: %2\n").arg(n).arg(channels[n - 1]);
            return text;
        };
        QTest::newRow("status at start")
            << QStringList{"status"} << 0 << lines({"off", "off", "off", "off"}) << ""
            << "00";
        QTest::newRow("on 1") << QStringList{"on", "1"} << 0 << ""
                              << ""
                              << "00 01";
        QTest::newRow("on 1 again") << QStringList{"on", "1"} << 1 << ""
                                    << "kavo-ctl: Channel 1 is already on.\n"
                                    << "00 01";
        QTest::newRow("off 2 while off") << QStringList{"off", "2"} << 1 << ""
                                         << "kavo-ctl: Channel 2 is already off.\n"
                                         << "00 01";
        QTest::newRow("on 3") << QStringList{"on", "3"} << 0 << ""
                              << ""
                              << "00 01 05";
        QTest::newRow("status, two on")
            << QStringList{"status"} << 0 << lines({"on", "off", "on", "off"}) << ""
            << "00 01 05";
        QTest::newRow("off 1") << QStringList{"off", "1"} << 0 << ""
                               << ""
                               << "00 01 05 04";
        QTest::newRow("all-on") << QStringList{"all-on"} << 0 << ""
                                << ""
                                << "00 01 05 04 0f";
        QTest::newRow("all-on again writes again") << QStringList{"all-on"} << 0 << ""
                                                   << ""
                                                   << "00 01 05 04 0f 0f";
        QTest::newRow("off 4") << QStringList{"off", "4"} << 0 << ""
                               << ""
                               << "00 01 05 04 0f 0f 07";
        QTest::newRow("all-off") << QStringList{"all-off"} << 0 << ""
                                 << ""
                                 << "00 01 05 04 0f 0f 07 00";
        const QString written = "00 01 05 04 0f 0f 07 00";
        QTest::newRow("at 3") << QStringList{"at", "3", past} << 0 << ""
                              << "" << written;
        QTest::newRow("status, row 3 armed")
            << QStringList{"status"} << 0 << lines({"off", "off", "off, armed for " + past, "off"})
            << "" << written;
        QTest::newRow("at 3 again")
            << QStringList{"at", "3", "12:00:00"} << 1 << ""
            << "kavo-ctl: Channel 3 is already armed for " + past + "; cancel it first.\n"
            << written;
        QTest::newRow("at 2 6:00:00")
            << QStringList{"at", "2", "6:00:00"} << 1 << ""
            << "kavo-ctl: \"6:00:00\" is not a time of day as HH:MM:SS (24-hour, two digits "
               "each: 6 pm is 18:00:00).\n"
            << written;
        QTest::newRow("status --json")
            << QStringList{"status", "--json"} << 0
            << "{\"channels\":[{\"armed\":null,\"channel\":1,\"on\":false},"
               "{\"armed\":null,\"channel\":2,\"on\":false},"
               "{\"armed\":\"" +
                   past +
                   "\",\"channel\":3,\"on\":false},"
                   "{\"armed\":null,\"channel\":4,\"on\":false}],"
                   "\"portError\":\"\",\"portFailing\":false,\"portValue\":0}\n"
            << "" << written;
        QTest::newRow("cancel 3") << QStringList{"cancel", "3"} << 0 << ""
                                  << "" << written;
        QTest::newRow("cancel 3 again") << QStringList{"cancel", "3"} << 1 << ""
                                        << "kavo-ctl: Channel 3 is not armed.\n"
                                        << written;
        QTest::newRow("status after the cancel")
            << QStringList{"status"} << 0 << lines({"off", "off", "off", "off"}) << "" << written;
        QTest::newRow("pulse 4 1h") << QStringList{"pulse", "4", "1h"} << 0 << ""
                                    << "" << written + " 08";
        QTest::newRow("pulse 4 while on") << QStringList{"pulse", "4"} << 1 << ""
                                          << "kavo-ctl: Channel 4 is already on.\n"
                                          << written + " 08";
        QTest::newRow("off 4 ends the pulse") << QStringList{"off", "4"} << 0 << ""
                                              << "" << written + " 08 00";
    }
    void commandsAgainstTheRunningPanel() {
        QFETCH(QStringList, args);
        QFETCH(int, exit);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QString, bytes);
        check(args, exit, out, err, bytes);
    }

    // Armed from a script, a row fires at its second of the real clock.
    void aScheduledSwitchArmedFromAScript() {
        const QString before = panel.bytesWritten();
        const QString soon = QTime::currentTime().addSecs(2).toString("HH:mm:ss");
        check({"at", "2", soon}, 0, "", "", before);
        QTRY_COMPARE_WITH_TIMEOUT(panel.bytesWritten(), before + " 02", 10000);
        check({"status"}, 0, "channel 1: off\nchannel 2: on\nchannel 3: off\nchannel 4: off\n", "",
              before + " 02");
    }

    // A second panel for the board writes nothing (it would switch off what
    // the first shows as on) and ends; kavo-ctl still reaches the first one.
    void aSecondPanelForTheBoardEnds() {
        const QString before = panel.bytesWritten();
        PanelRun second;
        QVERIFY(start(second));
        secondPanelEnds(second);
        QCOMPARE(panel.process().state(), QProcess::Running);
        check({"on", "4"}, 0, "", "", before + " 0a");
    }

    // A panel for another board runs beside it, under its board's own name,
    // and --board picks which one kavo-ctl asks.
    void panelsForOtherBoardsRunSideBySide() {
        const QString name = "com.quorvale.KavoPanel.usb_hid_QAWEZ";
        PanelRun other;
        other.withoutPort();
        QVERIFY(start(other, {"--board=usb-hid:QAWEZ"}));
        if (!other.waitUntil([&] { return panelOnTheBus(name); })) {
            const QString err = QString::fromUtf8(other.process().readAllStandardError());
            if (err.contains("drives no USB HID relay boards"))
                QSKIP("this build drives no USB HID relay boards");
            QFAIL(qPrintable(err));
        }
        QCOMPARE(QDBusInterface(name, remote::ObjectPath, remote::Interface).property("Board"),
                 QVariant("usb-hid:QAWEZ"));

        const QString before = panel.bytesWritten();
        const QString firstShows = ctl({"status"}).out;
        const Result on = ctl({"--board=usb-hid:QAWEZ", "on", "2"});
        QCOMPARE(on.exit, 4); // it switched; no such board is plugged in
        QVERIFY2(on.err.startsWith("kavo-ctl: the panel switched, but the relay board has not: "),
                 qPrintable(on.err));
        QCOMPARE(ctl({"status", "--board=usb-hid:QAWEZ"}).out,
                 QString("channel 1: off\nchannel 2: on\nchannel 3: off\nchannel 4: off\n"));
        // A bare usb-hid finds the one panel that resolved it to its board.
        QCOMPARE(ctl({"--board=usb-hid", "status"}).out,
                 QString("channel 1: off\nchannel 2: on\nchannel 3: off\nchannel 4: off\n"));
        QCOMPARE(ctl({"--board=parallel", "status"}).out, firstShows);
        QCOMPARE(panel.bytesWritten(), before);
        const Result none = ctl({"--board=serial:ttyUSB7", "status"});
        QCOMPARE(none.err, "kavo-ctl: no panel is running in this session (nothing owns "
                           "com.quorvale.KavoPanel.serial__dev_ttyUSB7 on the session bus)\n");
        QCOMPARE(none.exit, 3);
    }

    // Under a window manager, the second panel brings back the first's
    // minimised window, active.
    void aSecondPanelBringsTheFirstToTheFront() {
        if (QStandardPaths::findExecutable("openbox").isEmpty())
            QSKIP("openbox is not installed (scripts/setup.sh installs it)");
        XSession x;
        QString error;
        QVERIFY2(x.start(&error), qPrintable(error));
        QVERIFY2(x.startWindowManager(&error), qPrintable(error));
        const QStringList board = {"--board=usb-hid:FRONT"};
        PanelRun first;
        first.withoutPort();
        QVERIFY(start(first, board, QProcess::SeparateChannels, x.environment()));
        QString id;
        QVERIFY(first.waitUntil([&] { return x.windowGeometry(titles::Panel, &id).isValid(); }));
        QVERIFY(
            first.waitUntil([&] { return panelOnTheBus("com.quorvale.KavoPanel.usb_hid_FRONT"); }));
        const auto state = [&] { return x.property(id, "_NET_WM_STATE"); };
        const auto active = [&] {
            const QString root = x.run("xprop", {"-root", "_NET_ACTIVE_WINDOW"});
            return root.section('#', 1).trimmed().toUInt(nullptr, 16) == id.toUInt(nullptr, 16);
        };
        x.run("xdotool", {"windowminimize", id});
        QVERIFY(first.waitUntil([&] { return state().contains("_NET_WM_STATE_HIDDEN"); }));
        QVERIFY(!active());

        PanelRun second;
        second.withoutPort();
        QVERIFY(start(second, board, QProcess::SeparateChannels, x.environment()));
        secondPanelEnds(second);
        QVERIFY2(
            first.waitUntil([&] { return !state().contains("_NET_WM_STATE_HIDDEN") && active(); }),
            qPrintable(state()));
    }

    void aPanelWithoutASessionBusRunsOn() {
        PanelRun lonely;
        lonely.setVariable("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + dir.filePath("no-bus"));
        QVERIFY(start(lonely));
        QString err;
        QTRY_VERIFY_WITH_TIMEOUT((err += QString::fromUtf8(lonely.process().readAllStandardError()))
                                     .contains("kavo-ctl"),
                                 30000);
        QVERIFY2(err.contains(QRegularExpression(
                     "kavo-panel: no session bus[^\n]*; kavo-ctl cannot reach this panel.\n")),
                 qPrintable(err));
        QTest::qWait(500);
        QCOMPARE(lonely.process().state(), QProcess::Running);
        lonely.stop();
        QVERIFY(panelOnTheBus()); // the first one was not disturbed
    }

    // SIGTERM ends the panel as a closed window does, but a pulse in flight
    // has its OFF written as the last write.
    void oncePanelHasEndedThereIsNoPanel() {
        const QString before = panel.bytesWritten();
        const int value = before.section(' ', -1).toInt(nullptr, 16);
        QVERIFY(!(value & 4)); // channel 3 is off
        const auto hex = [](int v) { return QString("%1").arg(v, 2, 16, QChar('0')); };
        check({"pulse", "3", "1h"}, 0, "", "", before + " " + hex(value | 4));
        panel.stop();
        QCOMPARE(panel.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(panel.bytesWritten(), before + " " + hex(value | 4) + " " + hex(value));
        QTRY_VERIFY(!panelOnTheBus());
        const Result r = ctl({"status"});
        QCOMPARE(r.err, noPanel);
        QCOMPARE(r.exit, 3);
    }

    // With no board to reach, the panel still switches (its faces, its
    // state), and kavo-ctl says the board has not, with the reason.
    void anUnreachableBoardIsReported() {
        PanelRun unplugged;
        unplugged.withoutPort();
        QVERIFY(start(unplugged));
        QTRY_VERIFY_WITH_TIMEOUT(panelOnTheBus(), 30000);

        const Result on = ctl({"on", "2"});
        QVERIFY2(on.err.startsWith("kavo-ctl: the panel switched, but the relay board has not: "
                                   "Cannot write to the relay board port "),
                 qPrintable(on.err));
        QCOMPARE(on.err.count('\n'), 1);
        QCOMPARE(on.exit, 4);

        const Result status = ctl({"status"});
        QCOMPARE(status.out, QString("channel 1: off\nchannel 2: on\nchannel 3: off\nchannel 4: "
                                     "off\n"));
        QVERIFY2(status.err.startsWith("kavo-ctl: Cannot write to the relay board port "),
                 qPrintable(status.err));
        QCOMPARE(status.exit, 0);
        const Result json = ctl({"status", "--json"});
        QVERIFY(json.out.contains("\"portFailing\":true"));
        QVERIFY(json.out.contains("\"portValue\":2"));
        QCOMPARE(json.err, QString());

        QCOMPARE(ctl({"at", "1", anHourAgo()}).exit, 0); // no write: nothing to report
        QCOMPARE(ctl({"off", "2"}).exit, 4);
    }
};

QTEST_GUILESS_MAIN(TestKavoCtl)
#include "test_kavo_ctl.moc"
