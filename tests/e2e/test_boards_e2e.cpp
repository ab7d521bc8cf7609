// Runs the real program with a relay board on a serial port: a
// pseudo-terminal stands in for the CH340, so the frames the panel sends
// can be read at the other end. Also checks that bad arguments end the
// program with status 2 before it writes to any port, and that the
// command-line answers need no display. The parallel port is a stand-in
// ppdev device throughout, to see that nothing reaches it, except where
// --board=auto is to find a machine without one.
#include "panel_layout.h"
#include "panel_run.h"
#include "pty_pair.h"
#include "window_titles.h"
#include "x_session.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {
const QString StartupFrames = "a0 01 00 a1 a0 02 00 a2 a0 03 00 a3 a0 04 00 a4";
} // namespace

class TestBoardsE2E : public QObject {
    Q_OBJECT

    XSession x;

    // No display at all: a panel that started would fail here.
    static QProcessEnvironment noDisplay() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("QT_QPA_PLATFORM", "xcb");
        return env;
    }

  private slots:
    void initTestCase() {
        QString error;
        QVERIFY2(x.start(&error), qPrintable(error));
    }

    void serialBoardFollowsTheClicks() {
        PtyPair board;
        QVERIFY(board.ok());
        PanelRun panel;
        QVERIFY(panel.start(x.environment(), {"--board=serial:" + board.path()}));
        const QRect window = panel.waitForWindow(x);
        QVERIFY2(window.isValid(), "the panel's window did not appear");

        // Start-up: every relay set, off.
        QCOMPARE(hex(board.read(16, 5000)), StartupFrames);

        x.click(window.topLeft() + layout::Channel1); // its ON face
        QCOMPARE(hex(board.read(4, 5000)), QString("a0 01 01 a2"));
        x.click(window.topLeft() + layout::Channel1); // now its OFF face
        QCOMPARE(hex(board.read(4, 5000)), QString("a0 01 00 a1"));
        x.click(window.topLeft() + layout::Channel1);
        QCOMPARE(hex(board.read(4, 5000)), QString("a0 01 01 a2"));

        x.click(window.topLeft() + layout::Exit); // all off, then exit
        QVERIFY(panel.process().waitForFinished(10000));
        QCOMPARE(panel.process().exitCode(), 0);
        QCOMPARE(hex(board.readAll()), QString("a0 01 00 a1"));
        QCOMPARE(panel.portCalls(), QString());
    }

    // --board=auto: the parallel port where there is one, else the one USB
    // HID board; among several it picks none and says so.
    void autoPicksTheBoardThereIs_data() {
        QTest::addColumn<bool>("parallel");     // the stand-in port, else a machine without one
        QTest::addColumn<QString>("hidBoards"); // IDs of stand-in USBRelay4 boards
        QTest::addColumn<QString>("portBytes");
        QTest::addColumn<QString>("hidWrites");
        QTest::addColumn<QString>("stderrHas");
        QTest::newRow("the parallel port") << true << ""
                                           << "00"
                                           << ""
                                           << "";
        QTest::newRow("no parallel port: the one HID board") << false << "QAWEZ"
                                                             << ""
                                                             << "SFEATURE fc 00"
                                                             << "";
        QTest::newRow("no parallel port, two HID boards: none")
            << false << "QAWEZ,ZXCVB"
            << ""
            << ""
            << "auto picks none: --board=usb-hid:QAWEZ (USBRelay4 at /";
    }
    void autoPicksTheBoardThereIs() {
#ifndef KAVO_USB_RELAY_BOARDS
        QSKIP("needs the USB HID and no-parallel-port stand-ins (hidapi and D-Bus builds)");
#else
        QFETCH(bool, parallel);
        QFETCH(QString, hidBoards);
        QFETCH(QString, portBytes);
        QFETCH(QString, hidWrites);
        QFETCH(QString, stderrHas);
        if (!parallel && !QDir("/dev").entryList({"parport*"}, QDir::System).isEmpty())
            QSKIP("this machine has a parallel port, which the stand-in cannot hide from auto");

        QTemporaryDir dir;
        PanelRun panel;
        panel.preload(KAVO_USB_RELAY_BOARDS);
        panel.preload(KAVO_HIDRAW_SHIM);
        if (!parallel) {
            panel.withoutPort();
            panel.preload(KAVO_UNPLUGGED_SHIM);
        }
        panel.setVariable("KAVO_TEST_HID_BOARDS", hidBoards);
        panel.setVariable("KAVO_TEST_HID_LOG", dir.filePath("hid.log"));
        QVERIFY(panel.start(x.environment(), {"--board=auto"}, QProcess::SeparateChannels));
        const auto hidLog = [&] {
            QFile log(dir.filePath("hid.log"));
            return log.open(QIODevice::ReadOnly) ? QString::fromLatin1(log.readAll()) : QString();
        };
        QString err;
        const bool done = panel.waitUntil([&] {
            err += QString::fromLocal8Bit(panel.process().readAllStandardError());
            if (!portBytes.isEmpty())
                return panel.bytesWritten().startsWith(portBytes);
            if (!hidWrites.isEmpty())
                return hidLog().contains(hidWrites);
            return err.contains(stderrHas);
        });
        QVERIFY2(done, qPrintable(err + "\n" + hidLog() + "\n" + panel.portCalls()));
        if (portBytes.isEmpty())
            QCOMPARE(panel.portCalls(), QString());
        if (hidWrites.isEmpty())
            QVERIFY2(!hidLog().contains("SFEATURE"), qPrintable(hidLog()));
        // One line for the board's failure, naming every board with its value.
        const QStringList said = err.split('\n').filter("relay board port");
        if (stderrHas.isEmpty()) {
            QVERIFY2(said.isEmpty(), qPrintable(err));
        } else {
            QCOMPARE(said.size(), 1);
            QVERIFY2(said.first().startsWith("kavo-panel: Cannot write to the relay board port "
                                             "auto: ") &&
                         said.first().contains("--board=usb-hid:ZXCVB"),
                     qPrintable(err));
        }
#endif
    }

    void badArgumentsEndWithStatus2AndWriteNothing_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("says");
        QTest::newRow("unknown option") << QStringList{"--frobnicate"} << "'frobnicate'";
        QTest::newRow("unknown board") << QStringList{"--board=lpt1"} << "\"lpt1\"";
        QTest::newRow("stray argument") << QStringList{"now"} << "'now'";
    }
    void badArgumentsEndWithStatus2AndWriteNothing() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, says);

        PtyPair board;
        QVERIFY(board.ok());
        // Where it can be, the board is named too, so that any write would
        // show at the other end.
        const bool namesBoard = arguments.filter("--board").isEmpty();
        PanelRun panel;
        QVERIFY(panel.start(
            x.environment(),
            (namesBoard ? QStringList{"--board=serial:" + board.path()} : QStringList{}) +
                arguments,
            QProcess::SeparateChannels));
        QVERIFY(panel.process().waitForFinished(10000));
        QCOMPARE(panel.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(panel.process().exitCode(), 2);
        const QString err = QString::fromLocal8Bit(panel.process().readAllStandardError());
        QVERIFY2(err.startsWith("kavo-panel: ") && err.contains(says) &&
                     err.contains("Usage: kavo-panel"),
                 qPrintable(err));
        QCOMPARE(panel.process().readAllStandardOutput(), QByteArray());
        QCOMPARE(hex(board.readAll()), QString());
        QCOMPARE(panel.portCalls(), QString());
        QVERIFY(x.windowGeometry(titles::Panel).isNull());
    }

    void answersWithoutADisplay_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("says");
        QTest::newRow("help") << "--help"
                              << "Usage: kavo-panel";
        QTest::newRow("version") << "--version"
                                 << "kavo-panel 1.1.0";
        // Whatever this machine has plugged in, there is an answer.
        QTest::newRow("list boards") << "--list-boards"
                                     << "";
    }
    void answersWithoutADisplay() {
        QFETCH(QString, argument);
        QFETCH(QString, says);
        PanelRun panel;
        QVERIFY(panel.start(noDisplay(), {argument}, QProcess::SeparateChannels));
        QVERIFY(panel.process().waitForFinished(20000));
        QCOMPARE(panel.process().exitCode(), 0);
        const QString out = QString::fromLocal8Bit(panel.process().readAllStandardOutput());
        QVERIFY2(!out.isEmpty() && out.contains(says), qPrintable(out));
        QCOMPARE(panel.process().readAllStandardError(), QByteArray());
        QCOMPARE(panel.portCalls(), QString());
    }
};

QTEST_GUILESS_MAIN(TestBoardsE2E)
#include "test_boards_e2e.moc"
