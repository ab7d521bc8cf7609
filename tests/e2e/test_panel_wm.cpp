// The real program under a real window manager (openbox on its own Xvfb):
// a tap on the surface leaves the window alone while a drag moves it, the
// main window keeps its taskbar button, and the guide, wiring and About
// windows have a title bar with a close box only, no taskbar button, the
// program's icon, and the placement their design gives them counting the
// frame the window manager draws.
#include "panel_process.h"
#include "x_session.h"

#include <QDir>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

namespace {
const QString PanelTitle = "Quorvale Automation KAVO H1.10xp";
const QString GuideTitle = "Instalation & Operartion Guide..";
const QString WiringTitle = "Quorvale Automation- Wiring Diagram for KAVOxp H1.10";
const QString AboutTitle = "About Quorvale Rivavavo Control System KAVO x";

// left, right, top, bottom as the window manager reports them.
QMargins frameExtents(const QString& value) {
    const QStringList n = value.split(", ");
    if (n.size() != 4)
        return {};
    return QMargins(n[0].toInt(), n[2].toInt(), n[1].toInt(), n[3].toInt());
}
// The three secondary windows, with the panel button that opens each.
void secondaryWindowRows() {
    QTest::addColumn<QPoint>("opener");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("centred"); // else its client area sits at 156, 129
    QTest::newRow("guide") << QPoint(232, 136) << GuideTitle << true;
    QTest::newRow("wiring") << QPoint(168, 136) << WiringTitle << true;
    QTest::newRow("about") << QPoint(212, 44) << AboutTitle << false;
}
} // namespace

class TestPanelWm : public QObject {
    Q_OBJECT

    XSession x;
    QProcess panel;
    QString panelId;
    QRect window;

    QPoint at(int cx, int cy) const { return window.topLeft() + QPoint(cx, cy); }
    QRect panelGeometry() const { return x.windowGeometry(PanelTitle); }
    // Opens a secondary window from its panel button; its client geometry.
    QRect open(QPoint opener, const QString& title, QString* id) {
        x.click(at(opener.x(), opener.y()));
        if (!x.waitForWindow(title))
            return {};
        QThread::msleep(700);
        return x.windowGeometry(title, id);
    }
    // Closes it through the window manager, as its close box does.
    void close(const QString& id, const QString& title) {
        x.run("wmctrl", {"-i", "-c", id});
        QVERIFY(x.waitForNoWindow(title));
    }

  private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("openbox").isEmpty())
            QSKIP("openbox is not installed (scripts/setup.sh installs it)");
        QString error;
        QVERIFY2(x.start(&error), qPrintable(error));
        QVERIFY2(x.startWindowManager(&error), qPrintable(error));
        const QString shots =
            qEnvironmentVariable("KAVO_SCREENSHOT_DIR", QDir::currentPath() + "/screenshots");
        QDir().mkpath(shots);
        startPanel(panel, x.environment(), QDir(shots).filePath("port-wm.log"));
        QVERIFY(panel.waitForStarted());
        QVERIFY2(x.waitForWindow(PanelTitle), "the panel's window did not appear");
        QThread::msleep(1500);
        window = x.windowGeometry(PanelTitle, &panelId);
    }

    void panelIsBorderlessCentredAndOnTheTaskbar() {
        QCOMPARE(window.size(), QSize(301, 486));
        QCOMPARE(window.topLeft(),
                 QPoint((XSession::ScreenWidth - 301) / 2, (XSession::ScreenHeight - 486) / 2));
        QCOMPARE(frameExtents(x.property(panelId, "_NET_FRAME_EXTENTS")), QMargins());
        QVERIFY(!x.property(panelId, "_NET_WM_STATE").contains("SKIP_TASKBAR"));
        QVERIFY(x.property(panelId, "_NET_WM_ICON").contains("Icon (32 x 32)"));
    }

    // Press and release with no pause, as a touchpad tap sends them: the
    // window must not go on following the pointer.
    void aTapLeavesTheWindowWhereItIs() {
        for (int tap = 0; tap < 6; ++tap) {
            const QPoint p = at(100, 215);
            x.run("xdotool", {"mousemove", QString::number(p.x()), QString::number(p.y()),
                              "mousedown", "1", "mouseup", "1"});
            QThread::msleep(200);
            x.moveMouse(at(100, 215) + QPoint(150, 90));
            x.moveMouse(at(100, 215) + QPoint(-60, 120));
            QThread::msleep(200);
            QCOMPARE(panelGeometry(), window);
        }
    }

    void dragsBySurface() {
        x.drag(at(100, 215), at(160, 255));
        QCOMPARE(panelGeometry().topLeft(), window.topLeft() + QPoint(60, 40));
        window = panelGeometry();
        // ...and the drag is over: the window stays when the pointer moves on.
        x.moveMouse(at(30, 300));
        QCOMPARE(panelGeometry(), window);
    }

    // Centred as the user sees it: the frame, title bar included.
    void secondaryWindowsOpenWhereDesigned_data() { secondaryWindowRows(); }
    void secondaryWindowsOpenWhereDesigned() {
        QFETCH(QPoint, opener);
        QFETCH(QString, title);
        QFETCH(bool, centred);
        QString id;
        const QRect client = open(opener, title, &id);
        const QMargins frame = frameExtents(x.property(id, "_NET_FRAME_EXTENTS"));
        QVERIFY(frame.top() > 0); // it has a title bar
        if (centred) {
            const QRect framed = client.marginsAdded(frame);
            const QString where = QString("frame %1,%2 %3x%4")
                                      .arg(framed.left())
                                      .arg(framed.top())
                                      .arg(framed.width())
                                      .arg(framed.height());
            QVERIFY2(qAbs(2 * framed.left() + framed.width() - XSession::ScreenWidth) <= 1,
                     qPrintable(where));
            QVERIFY2(qAbs(2 * framed.top() + framed.height() - XSession::ScreenHeight) <= 1,
                     qPrintable(where));
        } else {
            QCOMPARE(client.topLeft(), QPoint(156, 129));
        }
        close(id, title);
    }

    // A title bar with a close box only, no taskbar button, the program's
    // icon; the same again for the new window of a later opening.
    void secondaryWindowsHaveTheDialogFrame_data() { secondaryWindowRows(); }
    void secondaryWindowsHaveTheDialogFrame() {
        QFETCH(QPoint, opener);
        QFETCH(QString, title);
        const QString panelIcon = x.property(panelId, "_NET_WM_ICON");
        for (int opening = 0; opening < 2; ++opening) {
            QString id;
            open(opener, title, &id);
            QVERIFY(x.property(id, "_NET_WM_STATE").contains("_NET_WM_STATE_SKIP_TASKBAR"));
            const QStringList actions = x.property(id, "_NET_WM_ALLOWED_ACTIONS").split(", ");
            QVERIFY2(actions.contains("_NET_WM_ACTION_CLOSE"), qPrintable(actions.join(' ')));
            for (const char* refused : {"_NET_WM_ACTION_MINIMIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ",
                                        "_NET_WM_ACTION_MAXIMIZE_VERT", "_NET_WM_ACTION_RESIZE"})
                QVERIFY2(!actions.contains(refused), refused);
            QCOMPARE(x.property(id, "_NET_WM_ICON"), panelIcon);
            close(id, title);
        }
    }

    // The window manager gives the About window the keyboard: Esc closes it.
    void aboutTakesTheKeyboard() {
        QString id;
        QVERIFY(open(QPoint(212, 44), AboutTitle, &id).isValid());
        x.key("Escape");
        QVERIFY(x.waitForNoWindow(AboutTitle));
    }

    void exitEnds() {
        x.click(at(260, 44)); // "&X"
        QVERIFY(panel.waitForFinished(10000));
        QCOMPARE(panel.exitCode(), 0);
    }

    void cleanupTestCase() {
        if (panel.state() != QProcess::NotRunning) {
            panel.kill();
            panel.waitForFinished();
        }
    }
};

QTEST_GUILESS_MAIN(TestPanelWm)
#include "test_panel_wm.moc"
