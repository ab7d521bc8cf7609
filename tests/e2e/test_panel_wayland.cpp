// The real program as a native Wayland client of a headless weston: the
// window is drawn cut to the outline of its picture, so the desktop shows
// at the corners and in the strip beyond the picture, and the skin inside.
#include "panel_process.h"
#include "wayland_session.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QThread>

namespace {
// Where the screenshot differs from the bare desktop.
QRect drawnArea(const QImage& shot) {
    QRect area;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (shot.pixel(x, y) != WaylandSession::Background)
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

QRect figureOf(const QImage& skin) {
    QRect figure;
    for (int y = 0; y < skin.height(); ++y) {
        for (int x = 0; x < skin.width(); ++x) {
            if (skin.pixel(x, y) != qRgb(255, 255, 255))
                figure |= QRect(x, y, 1, 1);
        }
    }
    return figure;
}
} // namespace

class TestPanelWayland : public QObject {
    Q_OBJECT

    WaylandSession wayland;
    QProcess panel;
    QImage shot;

  private slots:
    void initTestCase() {
        QString error;
        if (!wayland.start(&error))
            QSKIP(qPrintable("no Wayland compositor to test with: " + error));
        const QString shots =
            qEnvironmentVariable("KAVO_SCREENSHOT_DIR", QDir::currentPath() + "/screenshots");
        QDir().mkpath(shots);
        startPanel(panel, wayland.environment(), QDir(shots).filePath("port-wayland.log"));
        QVERIFY(panel.waitForStarted());
        // Shown once something is drawn; then give it a moment to settle.
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 15000 && drawnArea(shot = wayland.screenshot()).isEmpty())
            QThread::msleep(200);
        QThread::msleep(1000);
        shot = wayland.screenshot();
        QVERIFY2(!drawnArea(shot).isEmpty(), "the panel did not appear");
        shot.save(QDir(shots).filePath("wayland-panel.png"));
    }

    void isDrawnCutToTheOutline() {
        QImage skin(KAVO_SOURCE_DIR "/assets/main/skins/lily.bmp");
        QVERIFY(!skin.isNull());
        skin = skin.convertToFormat(QImage::Format_RGB32);
        const QRect figure = figureOf(skin);
        const QRect drawn = drawnArea(shot);
        // Nothing but the figure is drawn: not the white ground, not the strip.
        QCOMPARE(drawn.size(), figure.size());
        const QPoint origin = drawn.topLeft() - figure.topLeft(); // the client area's corner

        int desktop = 0, skinShown = 0, figurePixels = 0;
        QStringList wrong;
        for (int y = 0; y < 486; ++y) {
            for (int x = 0; x < 301; ++x) {
                const QPoint p = origin + QPoint(x, y);
                if (!QRect(0, 0, shot.width(), shot.height()).contains(p))
                    continue;
                const bool ground =
                    !skin.rect().contains(x, y) || skin.pixel(x, y) == qRgb(255, 255, 255);
                if (ground) {
                    if (shot.pixel(p) == WaylandSession::Background)
                        ++desktop;
                    else if (wrong.size() < 5)
                        wrong << QString("%1,%2").arg(x).arg(y);
                } else {
                    ++figurePixels;
                    skinShown += shot.pixel(p) == skin.pixel(x, y);
                }
            }
        }
        QVERIFY2(wrong.isEmpty(), qPrintable("not the desktop at " + wrong.join(' ')));
        QVERIFY(desktop > 0);
        // The corners of the client area and of the strip beyond the picture.
        for (QPoint corner : {QPoint(1, 1), QPoint(299, 1), QPoint(1, 484), QPoint(299, 484)})
            QCOMPARE(shot.pixel(origin + corner), WaylandSession::Background);
        // The skin where no control covers it, a bare spot of the surface among it.
        QCOMPARE(shot.pixel(origin + QPoint(100, 215)), skin.pixel(100, 215));
        QVERIFY2(skinShown * 2 > figurePixels,
                 qPrintable(QString("%1 of %2").arg(skinShown).arg(figurePixels)));
    }

    void cleanupTestCase() {
        if (panel.state() != QProcess::NotRunning) {
            panel.terminate();
            if (!panel.waitForFinished(5000))
                panel.kill();
            panel.waitForFinished();
        }
    }
};

QTEST_GUILESS_MAIN(TestPanelWayland)
#include "test_panel_wayland.moc"
