// Starts the real program in a real X server and looks at it from outside:
// the window's place and shape, real clicks (which respect the cut), the
// bytes that reach a stand-in ppdev device, dragging, every skin, the help
// pages, the About window, and a second panel waiting for the board the first
// holds. Screenshots go to KAVO_SCREENSHOT_DIR.
#include "panel_layout.h"
#include "panel_run.h"
#include "window_titles.h"
#include "x_session.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestPanelE2E : public QObject {
    Q_OBJECT

    XSession x;
    PanelRun panel;
    QString shots;
    QRect window;

    QPoint at(QPoint client) const { return window.topLeft() + client; }
    void save(const QString& name, const QImage& shot) const {
        QVERIFY2(!shot.isNull(), qPrintable(name + ": nothing new was drawn"));
        QVERIFY(shot.save(QDir(shots).filePath(name + ".png")));
    }
    void save(const QString& name, const QRect& area) const {
        save(name, x.screenshot().copy(area));
    }
    QString windowUnder(QPoint p) const {
        x.moveMouse(p);
        const QString out = x.run("xdotool", {"getmouselocation", "--shell"});
        return QRegularExpression("WINDOW=(\\d+)").match(out).captured(1);
    }
    // Right-click the panel, walk the popup menu bar with the keyboard.
    void chooseFromMenu(int topIndex, int itemIndex) {
        x.click(at(layout::Surface), 3);
        QStringList keys;
        for (int i = 0; i <= topIndex; ++i)
            keys << "Down";
        keys << "Right";
        for (int i = 0; i < itemIndex; ++i)
            keys << "Down";
        keys << "Return";
        x.key(keys.join(' '));
    }

    // Opens a paged help window from its panel button, saves its cover and
    // every page by clicking its numbered buttons, then puts it out of the way.
    void stepThroughPages(QPoint opener, const QString& title, QSize size, QList<int> buttonsX,
                          int buttonsY, const QString& name) {
        const QImage before = x.screenshot();
        x.click(at(opener));
        QVERIFY(x.waitForWindow(title));
        const QImage cover = x.redrawn(x.windowGeometry(title), before);
        const QRect help = x.windowGeometry(title);
        QCOMPARE(help.size(), size);
        save(name + "-0-cover", cover);
        for (int page = 1; page <= buttonsX.size(); ++page) {
            x.click(help.topLeft() + QPoint(buttonsX[page - 1] + 12, buttonsY));
            save(QString("%1-%2").arg(name).arg(page), help);
        }
        x.run("xdotool", {"search", "--name", "^" + title + "$", "windowunmap"});
    }

  private slots:
    void initTestCase() {
        QString error;
        QVERIFY2(x.start(&error), qPrintable(error));
        shots = PanelRun::screenshotDir();
        QVERIFY(panel.start(x.environment()));
        window = panel.waitForWindow(x);
        QVERIFY2(window.isValid(), "the panel's window did not appear");
    }

    void startsCentredWithItsSizeAndWritesZero() {
        QCOMPARE(window.size(), layout::Size);
        QCOMPARE(window.topLeft(),
                 QPoint((XSession::ScreenWidth - 301) / 2, (XSession::ScreenHeight - 486) / 2));
        QTRY_COMPARE(panel.bytesWritten(), QString("00"));
        save("panel", window);
    }

    void isCutToTheOutline() {
        QString id;
        x.windowGeometry(titles::Panel, &id);
        const QString panelWindow = QString::number(id.toULongLong(nullptr, 16));
        const QString root = windowUnder(QPoint(5, 5));
        // Corners of the picture and the strip beyond it are not the window.
        for (QPoint corner : layout::CutAway)
            QCOMPARE(windowUnder(at(corner)), root);
        QCOMPARE(windowUnder(at(layout::Channel1)), panelWindow);
        const QImage screen = x.screenshot();
        QCOMPARE(screen.pixel(at(QPoint(1, 1))), screen.pixel(QPoint(5, 5)));
        QVERIFY(screen.pixel(at(layout::Surface)) != screen.pixel(QPoint(5, 5)));
    }

    void realClicksReachThePortOnlyInsideTheOutline() {
        x.click(at(QPoint(2, 2))); // cut away: the click is not the window's
        QCOMPARE(panel.bytesWritten(), QString("00"));
        x.click(at(layout::Channel1)); // its ON face
        QTRY_COMPARE(panel.bytesWritten(), QString("00 01"));
        save("channel1-on", window);
        x.click(at(layout::Channel1)); // now its OFF face
        QTRY_COMPARE(panel.bytesWritten(), QString("00 01 00"));
    }

    void dragsBySurface() {
        x.drag(at(layout::Surface), at(layout::Surface + QPoint(60, 40)));
        const QRect moved = x.windowGeometry(titles::Panel);
        QCOMPARE(moved.topLeft(), window.topLeft() + QPoint(60, 40));
        window = moved;
        QCOMPARE(panel.bytesWritten(), QString("00 01 00"));
    }

    void everySkinAndThePlainView() {
        const QStringList skins{"acqa",      "nature", "gold", "purple",
                                "sea-beach", "bird",   "lily", "sky"};
        // Each is drawn anew: no two skins in a row look alike, nor the plain view.
        QImage before = x.screenshot();
        for (int i = 0; i < skins.size(); ++i) {
            chooseFromMenu(2, i);
            save("skin-" + skins[i], x.redrawn(window, before));
            before = x.screenshot();
        }
        x.click(at(layout::PlainView));
        save("plain-view", x.redrawn(window, before));
        const QImage screen = x.screenshot();
        QVERIFY(screen.pixel(at(QPoint(1, 1))) != qRgb(0, 0, 0)); // uncut now
        chooseFromMenu(2, 6);                                     // Lily brings the cut back
        QVERIFY(!x.redrawn(window, screen).isNull());
        QCOMPARE(panel.bytesWritten(), QString("00 01 00")); // skins never write
    }

    void helpPagesAndAbout() {
        stepThroughPages(layout::WiringButton, titles::Wiring, {710, 695}, {520, 560, 600, 640},
                         652, "wiring");
        stepThroughPages(layout::GuideButton, titles::Guide, {727, 696}, {584, 616, 648}, 676,
                         "guide");

        const QImage before = x.screenshot();
        x.click(at(layout::AboutButton));
        QVERIFY(x.waitForWindow(titles::About));
        const QImage shot = x.redrawn(x.windowGeometry(titles::About), before);
        const QRect about = x.windowGeometry(titles::About);
        QCOMPARE(about.size(), QSize(382, 237));
        QCOMPARE(about.topLeft(), layout::AboutCorner);
        save("about", shot);
        QCOMPARE(panel.bytesWritten(), QString("00 01 00"));
    }

    void exitSwitchesEverythingOffAndEnds() {
        x.click(at(layout::Channel1)); // on again
        QTRY_COMPARE(panel.bytesWritten(), QString("00 01 00 01"));
        x.click(at(layout::Exit));
        QVERIFY(panel.process().waitForFinished(10000));
        QCOMPARE(panel.process().exitCode(), 0);
        QCOMPARE(panel.bytesWritten(), QString("00 01 00 01 00"));
    }

    // Two panels on one board, with no session bus between them: the second
    // is refused the board, says once who holds it, writes nothing, and takes
    // the board over when the first ends.
    void aSecondPanelWaitsForTheBoard() {
        QTemporaryDir dir;
        QProcessEnvironment env = x.environment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + dir.filePath("no-bus"));
        PanelRun first;
        PanelRun second;
        for (PanelRun* run : {&first, &second})
            run->setVariable("PPDEV_SHIM_BACKING_FILE", dir.filePath("parport0"));
        QVERIFY(first.start(env));
        QVERIFY(first.waitUntil([&] { return first.bytesWritten() == "00"; }));
        QVERIFY(second.start(env, {}, QProcess::SeparateChannels));
        const QString inUse = QString("in use by another program (kavo-panel, pid %1)")
                                  .arg(first.process().processId());
        QString said;
        const auto saidInUse = [&] {
            said += QString::fromUtf8(second.process().readAllStandardError());
            return said.count(inUse);
        };
        QVERIFY2(second.waitUntil([&] { return saidInUse() > 0; }), qPrintable(said));
        QVERIFY2(QRegularExpression("^kavo-panel: .*" + QRegularExpression::escape(inUse),
                                    QRegularExpression::MultilineOption)
                     .match(said)
                     .hasMatch(),
                 qPrintable(said));
        QCOMPARE(second.bytesWritten(), QString());
        first.stop();
        QVERIFY(second.waitUntil([&] { return second.bytesWritten() == "00"; }));
        QCOMPARE(saidInUse(), 1);
    }
};

QTEST_GUILESS_MAIN(TestPanelE2E)
#include "test_panel_e2e.moc"
