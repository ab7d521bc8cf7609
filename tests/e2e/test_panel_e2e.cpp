// Starts the real program in a real X server and looks at it from outside:
// the window's place and shape, real clicks (which respect the cut), the
// bytes that reach a stand-in ppdev device, dragging, every skin, the help
// pages and the About window. Screenshots go to KAVO_SCREENSHOT_DIR.
#include "panel_process.h"
#include "x_session.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

namespace {
const QString PanelTitle = "Quorvale Automation KAVO H1.10xp";
const QString GuideTitle = "Instalation & Operartion Guide..";
const QString WiringTitle = "Quorvale Automation- Wiring Diagram for KAVOxp H1.10";
const QString AboutTitle = "About Quorvale Rivavavo Control System KAVO x";
} // namespace

class TestPanelE2E : public QObject {
    Q_OBJECT

    XSession x;
    QProcess panel;
    QString portLog;
    QString shots;
    QRect window;

    QString bytesWritten() const {
        QFile log(portLog);
        if (!log.open(QIODevice::ReadOnly))
            return {};
        QStringList bytes;
        const auto all = QRegularExpression("PPWDATA=0x([0-9a-f]{2})")
                             .globalMatch(QString::fromLatin1(log.readAll()));
        for (auto it = all; it.hasNext();)
            bytes << it.next().captured(1);
        return bytes.join(' ');
    }
    QPoint at(int cx, int cy) const { return window.topLeft() + QPoint(cx, cy); }
    void save(const QString& name, const QRect& area) const {
        const QImage shot = x.screenshot().copy(area);
        QVERIFY(!shot.isNull());
        QVERIFY(shot.save(QDir(shots).filePath(name + ".png")));
    }
    QString windowUnder(QPoint p) const {
        x.moveMouse(p);
        const QString out = x.run("xdotool", {"getmouselocation", "--shell"});
        return QRegularExpression("WINDOW=(\\d+)").match(out).captured(1);
    }
    // Right-click the panel, walk the popup menu bar with the keyboard.
    void chooseFromMenu(int topIndex, int itemIndex) {
        x.click(at(100, 215), 3);
        QStringList keys;
        for (int i = 0; i <= topIndex; ++i)
            keys << "Down";
        keys << "Right";
        for (int i = 0; i < itemIndex; ++i)
            keys << "Down";
        keys << "Return";
        x.key(keys.join(' '));
        QThread::msleep(400);
    }

    // Opens a paged help window from its panel button, saves its cover and
    // every page by clicking its numbered buttons, then puts it out of the way.
    void stepThroughPages(QPoint opener, const QString& title, QSize size, QList<int> buttonsX,
                          int buttonsY, const QString& name) {
        x.click(at(opener.x(), opener.y()));
        QVERIFY(x.waitForWindow(title));
        QThread::msleep(500);
        const QRect help = x.windowGeometry(title);
        QCOMPARE(help.size(), size);
        save(name + "-0-cover", help);
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
        shots = qEnvironmentVariable("KAVO_SCREENSHOT_DIR", QDir::currentPath() + "/screenshots");
        QDir().mkpath(shots);
        portLog = QDir(shots).filePath("port.log");
        QFile::remove(portLog);

        startPanel(panel, x.environment(), portLog);
        QVERIFY(panel.waitForStarted());
        QVERIFY2(x.waitForWindow(PanelTitle), "the panel's window did not appear");
        QThread::msleep(1500);
        window = x.windowGeometry(PanelTitle);
    }

    void startsCentredWithItsSizeAndWritesZero() {
        QCOMPARE(window.size(), QSize(301, 486));
        QCOMPARE(window.topLeft(),
                 QPoint((XSession::ScreenWidth - 301) / 2, (XSession::ScreenHeight - 486) / 2));
        QCOMPARE(bytesWritten(), QString("00"));
        save("panel", window);
    }

    void isCutToTheOutline() {
        QString id;
        x.windowGeometry(PanelTitle, &id);
        const QString panelWindow = QString::number(id.toULongLong(nullptr, 16));
        const QString root = windowUnder(QPoint(5, 5));
        // Corners of the picture and the strip beyond it are not the window.
        QCOMPARE(windowUnder(at(1, 1)), root);
        QCOMPARE(windowUnder(at(299, 484)), root);
        QCOMPARE(windowUnder(at(172, 276)), panelWindow);
        const QImage screen = x.screenshot();
        QCOMPARE(screen.pixel(at(1, 1)), screen.pixel(QPoint(5, 5)));
        QVERIFY(screen.pixel(at(100, 215)) != screen.pixel(QPoint(5, 5)));
    }

    void realClicksReachThePortOnlyInsideTheOutline() {
        x.click(at(2, 2)); // cut away: the click is not the window's
        QCOMPARE(bytesWritten(), QString("00"));
        x.click(at(172, 276)); // channel 1's ON face
        QTRY_COMPARE(bytesWritten(), QString("00 01"));
        save("channel1-on", window);
        x.click(at(172, 276)); // now its OFF face
        QTRY_COMPARE(bytesWritten(), QString("00 01 00"));
    }

    void dragsBySurface() {
        x.drag(at(100, 215), at(160, 255));
        const QRect moved = x.windowGeometry(PanelTitle);
        QCOMPARE(moved.topLeft(), window.topLeft() + QPoint(60, 40));
        window = moved;
        QCOMPARE(bytesWritten(), QString("00 01 00"));
    }

    void everySkinAndThePlainView() {
        const QStringList skins{"acqa",      "nature", "gold", "purple",
                                "sea-beach", "bird",   "lily", "sky"};
        for (int i = 0; i < skins.size(); ++i) {
            chooseFromMenu(2, i);
            save("skin-" + skins[i], window);
        }
        x.click(at(188, 44)); // X&P
        QThread::msleep(400);
        save("plain-view", window);
        const QImage screen = x.screenshot();
        QVERIFY(screen.pixel(at(1, 1)) != qRgb(0, 0, 0)); // uncut now
        chooseFromMenu(2, 6);                             // Lily brings the cut back
        QCOMPARE(bytesWritten(), QString("00 01 00"));    // skins never write
    }

    void helpPagesAndAbout() {
        stepThroughPages({168, 136}, WiringTitle, {710, 695}, {520, 560, 600, 640}, 652, "wiring");
        stepThroughPages({232, 136}, GuideTitle, {727, 696}, {584, 616, 648}, 676, "guide");

        x.click(at(212, 44)); // "&?"
        QVERIFY(x.waitForWindow(AboutTitle));
        QThread::msleep(500);
        const QRect about = x.windowGeometry(AboutTitle);
        QCOMPARE(about.size(), QSize(382, 237));
        QCOMPARE(about.topLeft(), QPoint(156, 129));
        save("about", about);
        QCOMPARE(bytesWritten(), QString("00 01 00"));
    }

    void exitSwitchesEverythingOffAndEnds() {
        x.click(at(172, 276)); // channel 1 on again
        QTRY_COMPARE(bytesWritten(), QString("00 01 00 01"));
        x.click(at(260, 44)); // "&X"
        QVERIFY(panel.waitForFinished(10000));
        QCOMPARE(panel.exitCode(), 0);
        QCOMPARE(bytesWritten(), QString("00 01 00 01 00"));
    }

    void cleanupTestCase() {
        if (panel.state() != QProcess::NotRunning) {
            panel.kill();
            panel.waitForFinished();
        }
    }
};

QTEST_GUILESS_MAIN(TestPanelE2E)
#include "test_panel_e2e.moc"
