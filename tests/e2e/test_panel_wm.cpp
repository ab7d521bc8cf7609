// The real program under a real window manager (openbox on its own Xvfb):
// a tap on the surface leaves the window alone while a drag moves it, the
// main window keeps its taskbar button, and the guide, wiring and About
// windows have a title bar with a close box only, no taskbar button, the
// program's icon, and the placement their design gives them counting the
// frame the window manager draws.
#include "panel_layout.h"
#include "panel_run.h"
#include "window_titles.h"
#include "x_session.h"

#include <QStandardPaths>
#include <QTest>
#include <QThread>

namespace {
// left, right, top, bottom as the window manager reports them.
QMargins frameExtents(const QString& value) {
    const QStringList n = value.split(", ");
    if (n.size() != 4)
        return {};
    return QMargins(n[0].toInt(), n[2].toInt(), n[1].toInt(), n[3].toInt());
}
// How far a window is from the middle of the screen, counted as 2 left + width
// against the screen's width (likewise down), so that odd sizes can be centred.
int offCentre(const QRect& r) {
    return qMax(qAbs(2 * r.left() + r.width() - XSession::ScreenWidth),
                qAbs(2 * r.top() + r.height() - XSession::ScreenHeight));
}
QString describe(const QRect& r) {
    return QString("frame %1,%2 %3x%4").arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height());
}
// The three secondary windows, with the panel button that opens each.
void secondaryWindowRows() {
    QTest::addColumn<QPoint>("opener");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("centred"); // else its client area sits at the About corner
    QTest::newRow("guide") << layout::GuideButton << titles::Guide << true;
    QTest::newRow("wiring") << layout::WiringButton << titles::Wiring << true;
    QTest::newRow("about") << layout::AboutButton << titles::About << false;
}
} // namespace

class TestPanelWm : public QObject {
    Q_OBJECT

    XSession x;
    PanelRun panel;
    QString panelId;
    QRect window;

    QPoint at(QPoint client) const { return window.topLeft() + client; }
    QRect panelGeometry() const { return x.windowGeometry(titles::Panel); }
    bool framed(const QString& id) const { return !x.property(id, "_NET_FRAME_EXTENTS").isEmpty(); }
    // Opens a secondary window from its panel button and waits until the
    // window manager has framed it; its id, empty when it did not come.
    QString open(QPoint opener, const QString& title) {
        x.click(at(opener));
        QString id;
        panel.waitUntil([&] { return x.windowGeometry(title, &id).isValid() && framed(id); });
        return framed(id) ? id : QString();
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
        QVERIFY(panel.start(x.environment()));
        QVERIFY2(panel.waitForWindow(x).isValid(), "the panel's window did not appear");
        x.windowGeometry(titles::Panel, &panelId);
        QVERIFY2(panel.waitUntil([&] { return framed(panelId); }),
                 "openbox did not take the panel");
        window = panelGeometry();
    }

    void panelIsBorderlessCentredAndOnTheTaskbar() {
        QCOMPARE(window.size(), layout::Size);
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
            const QPoint p = at(layout::Surface);
            x.run("xdotool", {"mousemove", QString::number(p.x()), QString::number(p.y()),
                              "mousedown", "1", "mouseup", "1"});
            QThread::msleep(200);
            x.moveMouse(p + QPoint(150, 90));
            x.moveMouse(p + QPoint(-60, 120));
            QThread::msleep(200);
            QCOMPARE(panelGeometry(), window);
        }
    }

    // Steadily, or quickly enough that the first motion the program sees is
    // already past the drag distance and the release follows it at once.
    void dragsBySurface_data() {
        QTest::addColumn<bool>("quick");
        QTest::newRow("steady") << false;
        QTest::newRow("in one motion") << true;
    }
    void dragsBySurface() {
        QFETCH(bool, quick);
        const QPoint from = at(layout::Surface);
        const QPoint to = from + QPoint(60, 40);
        if (quick) {
            x.run("xdotool", {"mousemove", QString::number(from.x()), QString::number(from.y()),
                              "mousedown", "1", "mousemove", QString::number(to.x()),
                              QString::number(to.y()), "mouseup", "1"});
        } else {
            x.drag(from, to);
        }
        QTRY_COMPARE(panelGeometry().topLeft(), window.topLeft() + QPoint(60, 40));
        window = panelGeometry();
        // ...and the drag is over: the window stays when the pointer moves on.
        x.moveMouse(at(QPoint(30, 300)));
        QCOMPARE(panelGeometry(), window);
    }

    // Centred as the user sees it: the frame, title bar included.
    void secondaryWindowsOpenWhereDesigned_data() { secondaryWindowRows(); }
    void secondaryWindowsOpenWhereDesigned() {
        QFETCH(QPoint, opener);
        QFETCH(QString, title);
        QFETCH(bool, centred);
        const QString id = open(opener, title);
        QVERIFY(!id.isEmpty());
        const QMargins frame = frameExtents(x.property(id, "_NET_FRAME_EXTENTS"));
        QVERIFY(frame.top() > 0); // it has a title bar
        // The window may still be moved into place once its frame is known.
        const auto outline = [&] { return x.windowGeometry(title).marginsAdded(frame); };
        if (centred)
            QTRY_VERIFY2(offCentre(outline()) <= 1, qPrintable(describe(outline())));
        else
            QTRY_COMPARE(x.windowGeometry(title).topLeft(), layout::AboutCorner);
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
            const QString id = open(opener, title);
            QVERIFY(!id.isEmpty());
            QTRY_VERIFY(x.property(id, "_NET_WM_STATE").contains("_NET_WM_STATE_SKIP_TASKBAR"));
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
        const QString id = open(layout::AboutButton, titles::About);
        QVERIFY(!id.isEmpty());
        QTRY_COMPARE(x.run("xdotool", {"getactivewindow"}).trimmed().toULongLong(),
                     id.toULongLong(nullptr, 16));
        x.key("Escape");
        QVERIFY(x.waitForNoWindow(titles::About));
    }

    void exitEnds() {
        x.click(at(layout::Exit));
        QVERIFY(panel.process().waitForFinished(10000));
        QCOMPARE(panel.process().exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestPanelWm)
#include "test_panel_wm.moc"
