// On X11 a taskbar or dock finds the desktop entry of a window by its
// WM_CLASS, which must equal the entry's StartupWMClass; otherwise the panel
// shows with a generic icon, apart from its menu entry. Runs the real program
// in Xvfb and reads the property from outside.
#include "../e2e/panel_process.h"
#include "../e2e/x_session.h"
#include "platform/application_id.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString PanelTitle = "Quorvale Automation KAVO H1.10xp";

QString desktopEntryValue(const QString& key) {
    QFile file(QString(KAVO_SOURCE_DIR "/packaging/%1.desktop").arg(platform::applicationId));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n'))
        if (line.startsWith(key + "="))
            return line.mid(key.size() + 1);
    return {};
}

} // namespace

class WindowClassTest : public QObject {
    Q_OBJECT

    XSession x;
    QProcess panel;
    QTemporaryDir portLog;

  private slots:
    void initTestCase() {
        QString error;
        if (!x.start(&error))
            QSKIP(qPrintable("no X server for the test: " + error));
        // The port is a stand-in: the test must not drive a real one.
        startPanel(panel, x.environment(), portLog.filePath("port.log"));
        QVERIFY(panel.waitForStarted());
        QVERIFY2(x.waitForWindow(PanelTitle), "the panel's window did not appear");
    }

    void cleanupTestCase() {
        if (panel.state() != QProcess::NotRunning) {
            panel.terminate();
            if (!panel.waitForFinished(5000))
                panel.kill();
            panel.waitForFinished();
        }
    }

    void windowClassIsTheDesktopEntrys() {
        QString id;
        QVERIFY(x.windowGeometry(PanelTitle, &id).isValid());
        // WM_CLASS(STRING) = "instance", "class"
        const QString property = x.run("xprop", {"-id", id, "WM_CLASS"});
        const auto match = QRegularExpression("= \"([^\"]*)\", \"([^\"]*)\"").match(property);
        QVERIFY2(match.hasMatch(), qPrintable(property));
        const QString wanted = desktopEntryValue("StartupWMClass");
        QVERIFY(!wanted.isEmpty());
        QCOMPARE(match.captured(2), wanted);
        QCOMPARE(match.captured(1), wanted);
    }
};

QTEST_GUILESS_MAIN(WindowClassTest)
#include "test_window_class_e2e.moc"
