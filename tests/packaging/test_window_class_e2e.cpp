// On X11 a taskbar or dock finds the desktop entry of a window by its
// WM_CLASS, which must equal the entry's StartupWMClass; otherwise the panel
// shows with a generic icon, apart from its menu entry. Runs the real program
// in Xvfb and reads the property from outside.
#include "e2e/panel_run.h"
#include "e2e/window_titles.h"
#include "e2e/x_session.h"
#include "platform/application_id.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

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
    PanelRun panel; // its port is a stand-in: the test must not drive a real one

  private slots:
    void initTestCase() {
        QString error;
        if (!x.start(&error))
            QSKIP(qPrintable("no X server for the test: " + error));
        QVERIFY(panel.start(x.environment()));
        QVERIFY2(panel.waitForWindow(x).isValid(), "the panel's window did not appear");
    }

    void windowClassIsTheDesktopEntrys() {
        QString id;
        QVERIFY(x.windowGeometry(titles::Panel, &id).isValid());
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
