// Runs the real program with a relay board on a serial port: a
// pseudo-terminal stands in for the CH340, so the frames the panel sends
// can be read at the other end. Also checks that bad arguments end the
// program with status 2 before it writes to any port, and that the
// command-line answers need no display. The parallel port is a stand-in
// ppdev device throughout, to see that nothing reaches it.
#include "pty_pair.h"
#include "x_session.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QThread>

namespace {
const QString PanelTitle = "Quorvale Automation KAVO H1.10xp";
const QString StartupFrames = "a0 01 00 a1 a0 02 00 a2 a0 03 00 a3 a0 04 00 a4";
} // namespace

class TestBoardsE2E : public QObject {
    Q_OBJECT

    XSession x;
    QString dir;
    QString parallelLog;

    // The program's environment: the X display, the ppdev stand-in.
    QProcessEnvironment environment(bool display) const {
        QProcessEnvironment env =
            display ? x.environment() : QProcessEnvironment::systemEnvironment();
        if (!display) {
            env.remove("DISPLAY");
            env.remove("WAYLAND_DISPLAY");
            env.insert("QT_QPA_PLATFORM", "xcb"); // a panel that started would fail here
        }
        env.insert("LD_PRELOAD", KAVO_PPDEV_SHIM);
        env.insert("PPDEV_SHIM_DEVICE", "/dev/parport0");
        env.insert("PPDEV_SHIM_LOG_FILE", parallelLog);
        env.insert("ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=0");
        return env;
    }
    QString parallelCalls() const {
        QFile log(parallelLog);
        return log.open(QIODevice::ReadOnly) ? QString::fromLatin1(log.readAll()).trimmed()
                                             : QString();
    }

  private slots:
    void initTestCase() {
        QString error;
        QVERIFY2(x.start(&error), qPrintable(error));
        dir = qEnvironmentVariable("KAVO_SCREENSHOT_DIR", QDir::currentPath() + "/screenshots");
        QDir().mkpath(dir);
        parallelLog = QDir(dir).filePath("boards-parallel.log");
    }
    void init() { QFile::remove(parallelLog); }

    void serialBoardFollowsTheClicks() {
        PtyPair board;
        QVERIFY(board.ok());
        QProcess panel;
        panel.setProcessEnvironment(environment(true));
        panel.setProcessChannelMode(QProcess::ForwardedChannels);
        panel.start(KAVO_PANEL, {"--board=serial:" + board.path()});
        QVERIFY(panel.waitForStarted());
        QVERIFY2(x.waitForWindow(PanelTitle), "the panel's window did not appear");
        QThread::msleep(1000);
        const QRect window = x.windowGeometry(PanelTitle);

        // Start-up: every relay set, off.
        QCOMPARE(hex(board.read(16, 5000)), StartupFrames);

        x.click(window.topLeft() + QPoint(172, 276)); // channel 1's ON face
        QCOMPARE(hex(board.read(4, 5000)), QString("a0 01 01 a2"));
        x.click(window.topLeft() + QPoint(172, 276)); // now its OFF face
        QCOMPARE(hex(board.read(4, 5000)), QString("a0 01 00 a1"));
        x.click(window.topLeft() + QPoint(172, 276));
        QCOMPARE(hex(board.read(4, 5000)), QString("a0 01 01 a2"));

        x.click(window.topLeft() + QPoint(260, 44)); // "&X": all off, then exit
        QVERIFY(panel.waitForFinished(10000));
        QCOMPARE(panel.exitCode(), 0);
        QCOMPARE(hex(board.readAll()), QString("a0 01 00 a1"));
        QCOMPARE(parallelCalls(), QString());
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
        QProcess panel;
        panel.setProcessEnvironment(environment(true));
        // Where it can be, the board is named too, so that any write would
        // show at the other end.
        const bool namesBoard = arguments.filter("--board").isEmpty();
        panel.start(KAVO_PANEL,
                    (namesBoard ? QStringList{"--board=serial:" + board.path()} : QStringList{}) +
                        arguments);
        QVERIFY(panel.waitForFinished(10000));
        QCOMPARE(panel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(panel.exitCode(), 2);
        const QString err = QString::fromLocal8Bit(panel.readAllStandardError());
        QVERIFY2(err.startsWith("kavo-panel: ") && err.contains(says) &&
                     err.contains("Usage: kavo-panel"),
                 qPrintable(err));
        QCOMPARE(panel.readAllStandardOutput(), QByteArray());
        QCOMPARE(hex(board.readAll()), QString());
        QCOMPARE(parallelCalls(), QString());
        QVERIFY(x.windowGeometry(PanelTitle).isNull());
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
        QProcess panel;
        panel.setProcessEnvironment(environment(false));
        panel.start(KAVO_PANEL, {argument});
        QVERIFY(panel.waitForFinished(20000));
        QCOMPARE(panel.exitCode(), 0);
        const QString out = QString::fromLocal8Bit(panel.readAllStandardOutput());
        QVERIFY2(!out.isEmpty() && out.contains(says), qPrintable(out));
        QCOMPARE(panel.readAllStandardError(), QByteArray());
        QCOMPARE(parallelCalls(), QString());
    }
};

QTEST_GUILESS_MAIN(TestBoardsE2E)
#include "test_boards_e2e.moc"
